# Shared helpers of the end-to-end scripts: a private Xvfb screen, a private run folder, waiting for
# windows, and cleanup of everything on exit.
set -euo pipefail

: "${DEMO_BIN:?DEMO_BIN must name the demo program}"
: "${DATA_PACK:?DATA_PACK must name data.dat}"

E2E_TMP=$(mktemp -d /tmp/demo-e2e.XXXXXX)
XVFB_PID=""
cleanup() {
  [ -n "${DEMO_PID:-}" ] && kill "$DEMO_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$E2E_TMP"
}
trap cleanup EXIT

# Each run's stderr goes here, so that a failure can show what the program said.
RUN_STDERR="$E2E_TMP/run.stderr"
fail() {
  echo "FAIL: $*" >&2
  if [ -s "$RUN_STDERR" ]; then
    echo "the program's stderr:" >&2
    sed 's/^/  /' "$RUN_STDERR" >&2
  fi
  if [ -n "${DEMO_PID:-}" ]; then
    kill -0 "$DEMO_PID" 2>/dev/null && echo "the program is still running" >&2 ||
      echo "the program has ended" >&2
  fi
  exit 1
}

# start_xvfb WIDTHxHEIGHT: a private X screen; sets DISPLAY.
start_xvfb() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null || true
  local fifo="$E2E_TMP/displayfd.$RANDOM"
  mkfifo "$fifo"
  # -noreset: a server that resets when its last client leaves refuses the next one for a moment.
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local n
  read -r -t 10 n <"$fifo" || fail "Xvfb did not start"
  rm -f "$fifo"
  export DISPLAY=":$n"
}

# new_run_dir: a fresh folder that holds only data.dat; prints its path.
new_run_dir() {
  local dir
  dir=$(mktemp -d "$E2E_TMP/run.XXXXXX")
  cp "$DATA_PACK" "$dir/data.dat"
  echo "$dir"
}

# wait_window NAME-REGEX SECONDS: prints the window id once a window of that name exists.
wait_window() {
  local deadline=$((SECONDS + $2)) id
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# wait_titled_window TITLE SECONDS: like wait_window, for an exact title, read from the window tree.
# SDL's message boxes name themselves in UTF-8 only, which this xdotool's search cannot match.
wait_titled_window() {
  local deadline=$((SECONDS + $2)) id
  while [ $SECONDS -lt $deadline ]; do
    id=$(xwininfo -root -tree 2>/dev/null | awk -v t=" \"$1\": " 'index($0, t) {print $1; exit}')
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# wait_exit PID SECONDS: waits for the process (a child of this shell); sets RC to its exit code, or
# to "timeout".
wait_exit() {
  local deadline
  deadline=$(($(date +%s%N) + $2 * 1000000000))
  while kill -0 "$1" 2>/dev/null; do
    [ "$(date +%s%N)" -gt "$deadline" ] && { RC=timeout; return 0; }
    sleep 0.02
  done
  RC=0
  wait "$1" || RC=$?
}

# hold_escape: Escape down, a pause, then up (a tap can be missed by design).
hold_escape() {
  xdotool keydown Escape
  sleep 0.3
  xdotool keyup Escape
}
