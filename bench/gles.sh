#!/usr/bin/env bash
# bench/gles.sh [ROUNDS]: the GL 1.1 layer over OpenGL ES 2.0 (gles/) beside Mesa's own GL 1.1,
# frame by frame: `demotool bench --runs 3` of the Release build in build/ and of its ES 2.0 twin
# in build/es2/, alternately for ROUNDS rounds (default 2), so that a change in the machine's load
# falls on both. Prints per scene each build's median and p99 (the best of the rounds) and the
# layer's median over Mesa's.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
rounds=${1:-2}
"$root/scripts/setup.sh" test >/dev/null
cmake --build "$root/build" -j "$(nproc)" --target demotool_es2 >/dev/null

export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for round in $(seq "$rounds"); do
  for gl in gl11 es2; do
    bin=$root/build/demotool
    [ $gl = es2 ] && bin=$root/build/es2/demotool
    echo "bench/gles.sh: round $round of $rounds, $gl" >&2
    "$bin" bench --data "$root/build/run/data.dat" --runs 3 --json >"$work/$gl-$round.json"
  done
done
python3 - "$work" "$rounds" <<'PY'
import json, sys
work, rounds = sys.argv[1], int(sys.argv[2])
def best(gl):
    runs = [json.load(open("%s/%s-%d.json" % (work, gl, r)))["scenes"] for r in range(1, rounds + 1)]
    return {s: (min(r[s]["medianMs"] for r in runs), min(r[s]["p99Ms"] for r in runs))
            for s in runs[0] if runs[0][s]["frames"]}
gl, es = best("gl11"), best("es2")
print("| scene | GL 1.1 median / p99 ms | layer median / p99 ms | layer / GL 1.1 |")
print("|---|---|---|---|")
for s in gl:
    print("| %s | %.2f / %.2f | %.2f / %.2f | %.3f |" % (s, *gl[s], *es[s], es[s][0] / gl[s][0]))
PY
