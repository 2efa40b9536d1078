#!/usr/bin/env bash
# scripts/setup_windows.sh [--tests]: installs the MinGW-w64 cross compilers (and, with --tests,
# Wine, 32-bit Wine with its GL driver, and what the Windows tests use), then builds the Windows
# program into build-win64/ (x86-64) and build-win32/ (i686), with its tests when asked.
# Says on stderr what was built. On stdout, one line per build, fields separated by tabs: the
# suite's name ("Windows x86", "Windows x64"), its folder, and why its tests cannot run (empty
# when they can: always without --tests, since nothing is to run).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/scripts/packages.sh"
tests=OFF
[ "${1:-}" = --tests ] && tests=ON

install_packages "${packages_windows_build[@]}"
wine32_missing=""
if [ $tests = ON ]; then
  install_packages "${packages_windows_test[@]}"
  install_wine32 || wine32_missing="32-bit Wine could not be installed (see scripts/packages.sh)"
fi

for arch in x86_64 i686; do
  case $arch in
    x86_64) dir=build-win64 suite="Windows x64" missing="" ;;
    i686) dir=build-win32 suite="Windows x86" missing=$wine32_missing ;;
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
  printf '%s\t%s\t%s\n' "$suite" "$dir" "$missing"
done
