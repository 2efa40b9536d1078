#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs the whole test suite: the Windows
# program's tests under Wine (64-bit, and 32-bit where the machine can have 32-bit Wine), then the
# Linux suite, which holds the web build's tests in headless Chromium. Arguments go to each ctest (e.g. -R DataPack). Each ctest's output is shown and kept
# in build/test-logs/. The last line sums up every suite: its counts and time, or why it could not
# run. A test that did not pass (failed, skipped, not run, timed out) counts as failed; the exit
# status is 0 only when every suite ran and every test in it passed.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
summary=()
status=0

finish() {
  local line
  line=$(printf '; %s' "${summary[@]}")
  echo "test: ${line#; }"
  exit $status
}

# not_run SUITE REASON
not_run() {
  summary+=("$1 not run: $2")
  status=1
}

# run_suite SUITE LOG COMMAND...: runs a ctest command and adds its counts to the summary. ctest
# counts a skipped test as passed, so only its per-test "Passed" lines count as passes, against
# the number of tests it set out to run.
run_suite() {
  local suite=$1 log=$2
  shift 2
  echo "test: $suite"
  local start=$SECONDS rc=0
  "$@" 2>&1 | tee "$log" || rc=$?
  local seconds=$((SECONDS - start)) planned results passed skipped failed note=""
  local line='^ *[0-9]+/[0-9]+ Test +#[0-9]+: '
  planned=$(sed -n 's|^ *[0-9]*/\([0-9]*\) Test *#[0-9]*: .*|\1|p' "$log" | tail -n 1)
  results=$(grep -cE "$line" "$log" || true)
  passed=$(grep -cE "$line.* Passed +[0-9.]+ sec\$" "$log" || true)
  skipped=$(grep -cE "$line.*\*\*\*(Skipped|Not Run)" "$log" || true)
  failed=$((${planned:-0} - passed))
  # Tests that ctest set out to run but never reported (it was stopped) did not run either.
  skipped=$((skipped + ${planned:-0} - results))
  [ "$skipped" -eq 0 ] || note=" ($skipped of them skipped or not run)"
  # A suite that ran nothing proves nothing, and one that failed outside any test (ctest's own
  # error) must not pass for clean.
  if [ -z "$planned" ]; then
    note=", no tests ran"
  elif [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ]; then
    note=", but ctest exit $rc"
  fi
  [ "$failed" -eq 0 ] && [ -z "$note" ] || status=1
  summary+=("$suite $passed passed, $failed failed$note ($seconds s)")
}

mkdir -p "$root/build/test-logs"
if ! "$root/scripts/setup.sh" test; then
  not_run Windows "the Linux build failed (scripts/setup.sh test)"
  not_run Linux "the build failed (scripts/setup.sh test)"
  finish
fi

# One line per Windows build: its suite's name, its folder, and why its tests cannot run (empty
# when they can).
windows=$root/build/test-logs/windows-builds.txt
if "$root/scripts/setup_windows.sh" --tests >"$windows"; then
  # The list is read on its own descriptor: ctest and Wine must not eat it from stdin.
  while IFS=$'\t' read -r -u 3 suite dir reason; do
    if [ -n "$reason" ]; then
      not_run "$suite" "$reason"
      continue
    fi
    run_suite "$suite" "$root/build/test-logs/${suite// /-}.log" \
      xvfb-run -a -s "-screen 0 800x600x24" \
      ctest --test-dir "$root/$dir" --output-on-failure -j "$(nproc)" "$@"
    # Wine's server outlives its programs for speed; it goes with the display.
    WINEPREFIX="$root/$dir/wine-prefix" wineserver -k 2>/dev/null || true
  done 3<"$windows"
else
  not_run Windows "the Windows build failed (scripts/setup_windows.sh --tests)"
fi

run_suite Linux "$root/build/test-logs/Linux.log" \
  ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)" "$@"
finish
