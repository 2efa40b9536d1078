#!/usr/bin/env bash
# scripts/setup.sh [run|test]: installs what the job needs (Debian packages, by name, listed in
# scripts/packages.sh), then configures and builds Release into build/. "run" (./run.sh) installs
# only what building and playing the presentation need and builds only the program and data.dat;
# "test" (the default) adds the test suite's packages and builds everything. Safe to run again: it
# only does what is missing. With SETUP_PACKAGES_ONLY=1 it stops after the packages.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/scripts/packages.sh"
job=${1:-test}
case $job in
  run) install_packages "${packages_run[@]}" ;;
  test) install_packages "${packages_run[@]}" "${packages_test[@]}" ;;
  *)
    echo "usage: scripts/setup.sh [run|test]" >&2
    exit 2
    ;;
esac

[ "${SETUP_PACKAGES_ONLY:-0}" = 1 ] && exit 0

build_dir=${BUILD_DIR:-"$root/build"}
if [ "$job" = run ]; then
  # A build that already has the tests keeps them; a new one is made without.
  tests=OFF
  grep -qs '^DEMO_BUILD_TESTS:BOOL=ON' "$build_dir/CMakeCache.txt" && tests=ON
  cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DDEMO_BUILD_TESTS=$tests \
    ${CMAKE_EXTRA_ARGS:-} >/dev/null
  cmake --build "$build_dir" -j "$(nproc)" --target demo data_pack
else
  install_browser_tooling "$build_dir/web-tooling"
  cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DDEMO_BUILD_TESTS=ON \
    ${CMAKE_EXTRA_ARGS:-} >/dev/null
  cmake --build "$build_dir" -j "$(nproc)"
fi
