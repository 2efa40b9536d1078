#!/usr/bin/env bash
# bench/web.sh: the presentation in headless Chromium (WebGL on SwiftShader, through gles/) beside
# the native program on Mesa's llvmpipe: per scene the page's median frame time and frames per
# second without the display's frame limit (bench/web_frames.js), then `demotool bench --runs 1`
# of the native Release build, and the sizes of what the page loads.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" test >/dev/null
export NODE_PATH=$root/build/web-tooling/node_modules
. "$root/tests/e2e/tools/pulse.sh"
work=$(mktemp -d)
trap 'stop_pulse; rm -rf "$work"' EXIT
start_pulse "$work"
echo "In headless Chromium (SwiftShader):"
node "$root/bench/web_frames.js" "$root/build/web"
echo
echo "Native (llvmpipe), demotool bench --runs 1:"
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$root/build/demotool" bench \
  --data "$root/build/run/data.dat" --runs 1 --json >"$work/native.json"
python3 - "$work/native.json" <<'PY'
import json, sys
scenes = json.load(open(sys.argv[1]))["scenes"]
print("| scene | median frame ms | frames per second |")
print("|---|---|---|")
for name, s in scenes.items():
    if s["frames"]:
        print("| %s | %.2f | %.1f |" % (name, s["medianMs"], 1000.0 / s["medianMs"]))
PY
echo
stat -c '%n %s bytes' "$root/build/web/demo.wasm" "$root/build/web/demo.js" \
  "$root/build/web/index.html" "$root/build/web/data.dat"
