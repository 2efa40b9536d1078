#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs the whole test suite: the Windows
# program's tests under Wine (64-bit, and 32-bit where the machine can have 32-bit Wine), then the
# Linux suite. Arguments go to each ctest (e.g. -R DataPack).
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup.sh" test
# One line per Windows build made with its tests: its folder.
"$root/scripts/setup_windows.sh" --tests >"$root/build/windows-builds.txt"
mapfile -t windows_builds <"$root/build/windows-builds.txt"

status=0
for dir in "${windows_builds[@]}"; do
  echo "test: the Windows tests under Wine in $dir"
  xvfb-run -a -s "-screen 0 800x600x24" \
    ctest --test-dir "$root/$dir" --output-on-failure -j "$(nproc)" "$@" || status=1
  # Wine's server outlives its programs for speed; it goes with the display.
  WINEPREFIX="$root/$dir/wine-prefix" wineserver -k 2>/dev/null || true
done
echo "test: the Linux suite in build"
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)" "$@" || status=1
exit $status
