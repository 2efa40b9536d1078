#!/usr/bin/env bash
# scripts/build_web.sh [--out DIR] [--data FILE]: builds the presentation for a web browser
# (WebAssembly and WebGL, through gles/) into DIR (default build-web/): index.html, demo.js,
# demo.wasm and data.dat, with Emscripten's build folder in DIR/cmake. The pack comes from the
# native build: by default build/run/data.dat, made first (scripts/setup.sh run) when missing. Serve
# the folder over HTTP to run it:
#   python3 -m http.server -d build-web 8000 --bind 127.0.0.1
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-web
data=
while [ $# -gt 0 ]; do
  case $1 in
    --out) out=$2; shift 2 ;;
    --data) data=$2; shift 2 ;;
    -h|--help) sed -n '2,7s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "build_web: unknown argument '$1' (see --help)" >&2; exit 2 ;;
  esac
done
source "$root/scripts/packages.sh"
install_packages "${packages_web[@]}"

if [ -z "$data" ]; then
  data=$root/build/run/data.dat
  [ -f "$data" ] || "$root/scripts/setup.sh" run
fi
if [ ! -f "$data" ]; then
  echo "build_web: $data is missing" >&2
  exit 1
fi

# emcc's optimizer runs on Node.js and takes its modules from Debian's folder; a Node.js other than
# Debian's does not look there by itself.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

mkdir -p "$out"
# emcmake says on stderr what it runs; the configure's own errors still come through.
emcmake cmake -S "$root" -B "$out/cmake" -DCMAKE_BUILD_TYPE=Release 2>&1 >/dev/null |
  grep -v '^configure: ' >&2 || true
cmake --build "$out/cmake" -j "$(nproc)" --target demo
# Each file replaces its name only once complete, so a server never hands out half of one.
for file in "$out/cmake/run/demo.js" "$out/cmake/run/demo.wasm" "$root/platform/web/index.html" \
  "$data"; do
  cmp -s "$file" "$out/$(basename "$file")" && continue
  cp "$file" "$out/.$(basename "$file").new"
  mv -f "$out/.$(basename "$file").new" "$out/$(basename "$file")"
done
ls -l "$out/index.html" "$out/demo.js" "$out/demo.wasm" "$out/data.dat"
