#!/usr/bin/env bash
# Builds the presentation for a web browser (WebAssembly and WebGL, through gles/) into build-web/:
# index.html, demo.js, demo.wasm and data.dat. data.dat comes from the native build
# (`scripts/setup.sh test` makes build/run/data.dat). Serve the folder over HTTP to run it:
#   python3 -m http.server -d build-web 8000 --bind 127.0.0.1
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_packages "${packages_web[@]}"

data=build/run/data.dat
if [ ! -f "$data" ]; then
  echo "build_web: $data is missing; scripts/setup.sh test makes it" >&2
  exit 1
fi

# emcc's optimizer runs on Node.js and takes its modules from Debian's folder; a Node.js other than
# Debian's does not look there by itself.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

emcmake cmake -S . -B build-web/cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-web/cmake -j2 --target demo
cp build-web/cmake/run/demo.js build-web/cmake/run/demo.wasm build-web/
cp platform/web/index.html build-web/index.html
cp "$data" build-web/data.dat
ls -l build-web/index.html build-web/demo.js build-web/demo.wasm build-web/data.dat
