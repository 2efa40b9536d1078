#!/usr/bin/env bash
# Runs one Windows program under Wine with the suite's settings; the cross-compiling emulator of the
# Windows build, so that ctest and test discovery run the test programs through it. Now and then
# Wine fails to start a program at all ("Application could not be started ... ShellExecuteEx
# failed: Internal error") while another starts beside it; the program never ran, so it is started
# again, up to three times. The program's stderr is shown once it has ended (a file, not a pipe,
# since Wine's helpers may hold on to what they inherit).
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"
wine_setup
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
for attempt in 1 2 3; do
  rc=0
  "$WINE" "$@" 2>"$errors" || rc=$?
  cat "$errors" >&2
  if [ "$rc" -eq 0 ] || ! grep -q "^ShellExecuteEx failed" "$errors"; then
    exit "$rc"
  fi
  echo "run_under_wine: Wine did not start $1 (attempt $attempt of 3)" >&2
  sleep 1
done
exit "$rc"
