#!/usr/bin/env bash
# scripts/setup_windows.sh [--tests]: installs the MinGW-w64 cross compilers (and, with --tests,
# Wine, 32-bit Wine where the machine can have it, and what the Windows tests use), then builds the
# Windows program into build-win64/ (x86-64) and build-win32/ (i686), with its tests when asked.
# Prints one line per architecture saying what was built; the 32-bit build is left out, and said
# so, when its tests were asked for and 32-bit Wine could not be installed. Prints the folder of
# each build it made on stdout, one per line.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/scripts/packages.sh"
tests=OFF
[ "${1:-}" = --tests ] && tests=ON

install_packages "${packages_windows_build[@]}"
arches=(x86_64)
if [ $tests = ON ]; then
  install_packages "${packages_windows_test[@]}"
  install_wine32 && arches+=(i686)
else
  arches+=(i686)
fi

for arch in "${arches[@]}"; do
  case $arch in
    x86_64) dir=build-win64 ;;
    i686) dir=build-win32 ;;
  esac
  # A build made with its tests keeps them. The end-to-end test plays the pack and uses the
  # helpers that the Linux build made.
  with_tests=$tests
  grep -qs '^DEMO_BUILD_TESTS:BOOL=ON' "$root/$dir/CMakeCache.txt" && with_tests=ON
  cmake -S "$root" -B "$root/$dir" -DCMAKE_BUILD_TYPE=Release -DDEMO_BUILD_TESTS=$with_tests \
    -DDEMO_LINUX_BUILD="$root/build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
    >/dev/null
  cmake --build "$root/$dir" -j "$(nproc)" >&2
  echo "windows: built $dir/run/demo.exe ($arch)$([ $tests = ON ] && echo ', with its tests')" >&2
  echo "$dir"
done
