#!/usr/bin/env bash
# Installs what the build needs (Debian packages, by name), then configures and builds Release into
# build/. Run by run.sh, test.sh and bench.sh; safe to run again, it only does what is missing.
# With SETUP_PACKAGES_ONLY=1 it stops after the packages.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
packages=(
  build-essential cmake pkg-config git
  libsdl2-dev libsdl2-mixer-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libegl-dev
  libgtest-dev googletest libbenchmark-dev
  xvfb xdotool x11-utils imagemagick libx11-dev
  libcairo2-dev fonts-dejavu-core libmp3lame-dev libpng-dev nlohmann-json3-dev libssl-dev
  lib3ds-dev libmpg123-dev libebur128-dev ffmpeg clang libassimp-dev assimp-utils libstb-dev python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}" >&2
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >&2
fi

[ "${SETUP_PACKAGES_ONLY:-0}" = 1 ] && exit 0

build_dir=${BUILD_DIR:-"$root/build"}
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release ${CMAKE_EXTRA_ARGS:-} >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
