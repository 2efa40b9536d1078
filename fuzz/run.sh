#!/usr/bin/env bash
# fuzz/run.sh SECONDS: builds the libFuzzer targets with clang (address and undefined-behaviour
# sanitizers) in build-fuzz/ (or $FUZZ_BUILD_DIR), replays fuzz/regressions, then runs each target
# for SECONDS, two at a time, and prints the executions per target. Exit 1 when a target failed.
# The working corpus stays in the build folder between runs; findings go to <build>/artifacts/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:?usage: fuzz/run.sh SECONDS}
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
targets=(fuzz_pack fuzz_tga fuzz_head fuzz_3ds)
declare -A max_len=([fuzz_pack]=65536 [fuzz_tga]=65536 [fuzz_head]=65536 [fuzz_3ds]=131072)

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
  -DCMAKE_CXX_COMPILER=clang++-14 -DDEMO_FUZZ=ON -DDEMO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 --target "${targets[@]}" fuzz_seeds >/dev/null
"$root/fuzz/make_seeds.sh" "$build/fuzz/fuzz_seeds" "$build/seeds"

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Every input that ever broke a reader must stay fixed.
for t in "${targets[@]}"; do
  shopt -s nullglob
  old=("$root/fuzz/regressions/$t"/*)
  shopt -u nullglob
  if [ ${#old[@]} -gt 0 ]; then
    "$build/fuzz/$t" -runs=0 "${old[@]}" >"$build/$t.regressions.log" 2>&1 ||
      { echo "run: $t fails on a regression input (see $build/$t.regressions.log)" >&2; exit 1; }
  fi
done

run_one() {
  local t=$1
  mkdir -p "$build/corpus/$t" "$build/artifacts/$t"
  local dict=()
  [ "$t" = fuzz_3ds ] && dict=(-dict="$root/fuzz/3ds.dict")
  "$build/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len="${max_len[$t]}" -print_final_stats=1 "${dict[@]}" \
    -artifact_prefix="$build/artifacts/$t/" "$build/corpus/$t" "$build/seeds/$t" \
    >"$build/$t.log" 2>&1
}

status=0
running=0
for t in "${targets[@]}"; do
  if [ $running -ge 2 ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
  run_one "$t" &
  running=$((running + 1))
done
while [ $running -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done

printf '%-10s %14s %8s %8s  %s\n' target executions seconds corpus result
for t in "${targets[@]}"; do
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$build/$t.log" | awk '{print $2}')
  found=$(find "$build/artifacts/$t" -type f | wc -l)
  result=ok
  [ "$found" -gt 0 ] && result="$found finding(s) in $build/artifacts/$t"
  grep -q 'stat::number_of_executed_units' "$build/$t.log" || result="stopped early, see $build/$t.log"
  printf '%-10s %14s %8s %8s  %s\n' "$t" "${runs:-?}" "$seconds" \
    "$(find "$build/corpus/$t" -type f | wc -l)" "$result"
  [ "$result" = ok ] || status=1
done
exit $status
