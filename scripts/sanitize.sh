#!/usr/bin/env bash
# The second configuration: the whole test suite built with address and undefined-behaviour
# sanitizers (-DDEMO_SANITIZE=ON) in build-asan/ (or $SANITIZE_BUILD_DIR) and run with ctest.
# Extra arguments go to ctest (for example -R unit). Leaks inside Mesa, SDL and the X libraries
# are suppressed by scripts/lsan.supp; leaks in our code still fail.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SANITIZE_BUILD_DIR:-$root/build-asan}

# Set before the build too: it runs the sanitized demotool to forge the asset pack.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDEMO_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

# Mesa unloads its EGL and DRI drivers at exit, before the leak check, which then cannot name the
# library of the memory they keep and so cannot suppress it. Preloaded, they stay mapped. ASan only
# asks to come first in the library list to catch allocations made before it starts, and these
# libraries allocate nothing when loaded.
preload=""
for lib in /usr/lib/*/libEGL_mesa.so.0 /usr/lib/*/dri/swrast_dri.so; do
  [ -e "$lib" ] && preload="$preload $lib"
done
export LD_PRELOAD="${preload# }"
export ASAN_OPTIONS=$ASAN_OPTIONS:verify_asan_link_order=0
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
