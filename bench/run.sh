#!/usr/bin/env bash
# bench/run.sh: builds Release with the benchmarks (build-bench/), runs demotool bench on the whole timeline and
# the Google Benchmark suite, and writes bench/results.md and bench/results.json.
#   BENCH_RUNS       demotool bench runs, best of each figure kept (default 3)
#   BENCH_REPS       repetitions of each micro-benchmark, the median kept (default 3)
#   BENCH_FILTER     a Google Benchmark filter, to run part of the suite (default: all)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-bench"
runs=${BENCH_RUNS:-3}
reps=${BENCH_REPS:-3}
filter=${BENCH_FILTER:-.}

SETUP_PACKAGES_ONLY=1 "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DDEMO_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target demotool data_pack demo_bench

export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
echo "bench/run.sh: demotool bench, $runs runs" >&2
"$build/demotool" bench --data "$build/run/data.dat" --runs "$runs" --json >"$work/frames.json"
echo "bench/run.sh: micro-benchmarks, $reps repetitions" >&2
"$build/demo_bench" --data "$build/run/data.dat" --benchmark_filter="$filter" \
  --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
  --benchmark_out="$work/micro.json" --benchmark_out_format=json >&2
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
python3 "$root/bench/report.py" "$work/frames.json" "$work/micro.json" "$root/bench" \
  "$(nproc)" "$cpu" "$load_before" "$load_after"
echo "bench/run.sh: wrote bench/results.md and bench/results.json" >&2
