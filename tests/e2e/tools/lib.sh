# Shared helpers of the end-to-end scripts: a private Xvfb screen, a private run folder, waiting for
# windows and for the first frame, comparing shots, and cleanup of everything on exit.
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

# mean_of PICTURE WxH+X+Y: the mean brightness (0 to 255) of a region.
mean_of() { convert "$1" -crop "$2" +repage -colorspace Gray -format "%[fx:mean*255]" info:; }

# diff_fraction PICTURE PICTURE [FUZZ]: the fraction of pixels that differ by more than FUZZ
# (default 6%).
diff_fraction() {
  # compare exits 1 when the pictures differ, which is an answer here; 2 is an error and must fail
  local out rc=0 area
  out=$(compare -metric AE -fuzz "${3:-6%}" "$1" "$2" null: 2>&1) || rc=$?
  [ "$rc" -le 1 ] || fail "compare $1 $2 failed: $out"
  area=$(identify -format "%[fx:w*h]" "$1")
  awk -v n="$out" -v a="$area" 'BEGIN{printf "%.4f", n / a}'
}

# small_distance PICTURE PICTURE [SIZE]: the RMS difference (0 to 1) of the two scaled to SIZE
# (default 80x60), where the way a picture was stretched hardly counts.
small_distance() {
  convert "$1" -scale "${3:-80x60}!" "$E2E_TMP/small-a.png"
  convert "$2" -scale "${3:-80x60}!" "$E2E_TMP/small-b.png"
  local out rc=0
  out=$(compare -metric RMSE "$E2E_TMP/small-a.png" "$E2E_TMP/small-b.png" null: 2>&1) || rc=$?
  [ "$rc" -le 1 ] || fail "compare $1 $2 failed: $out"
  echo "$out" | sed 's/.*(\(.*\))/\1/'
}

# wait_first_frame SECONDS: waits for the presentation's first frame, a picture that is far from
# the loading picture and not black, on a screen of any size. Sets T0 to the middle of the polling
# interval in which it came, in nanoseconds, and LOADING_SEEN to 1 when the loading picture was on
# the screen before it (then T0 is as good as the polling). At 80x60 the loading picture lies
# 0.002 from itself stretched another way, 0.06 from a black screen and from the end picture, and
# 0.21 to 0.22 from the first frames.
wait_first_frame() {
  local deadline=$((SECONDS + $1)) screen w h ref="$E2E_TMP/loading-on-screen.png"
  local poll="$E2E_TMP/poll.png" before="" now d=""
  screen=$(xwininfo -root | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
  w=${screen%x*} h=${screen#*x}
  if [ ! -f "$E2E_TMP/pictures/loading.tga" ]; then
    mkdir -p "$E2E_TMP/pictures"
    (cd "$E2E_TMP/pictures" && "$DEMOTOOL" pack extract "$DATA_PACK" >/dev/null) ||
      fail "cannot extract the pack's pictures"
  fi
  # The picture fitted into the screen with its aspect kept, black around it, as the program
  # shows it; -auto-orient turns the file's bottom-up rows the right way up.
  convert "$E2E_TMP/pictures/loading.tga" -auto-orient -resize "$screen" -background black \
    -gravity center -extent "$screen" "$ref"
  T0="" LOADING_SEEN=0
  while [ $SECONDS -lt $deadline ]; do
    now=$(date +%s%N)
    import -window root "$poll"
    d=$(small_distance "$poll" "$ref")
    if awk -v d="$d" 'BEGIN{exit !(d < 0.03)}'; then
      LOADING_SEEN=1
    elif awk -v d="$d" 'BEGIN{exit !(d > 0.12)}' &&
      awk -v m="$(mean_of "$poll" "${w}x$((h * 5 / 6))+0+$((h / 12))")" 'BEGIN{exit !(m > 2)}'; then
      T0=$(((${before:-$now} + now) / 2))
      return 0
    fi
    before=$now
  done
  fail "no frame of the presentation within $1 s (the last shot lies $d from the loading picture)"
}

# recording_clock FILE: the wall time (ns) of the first sample of a recording that parec is writing
# to FILE (s16le, stereo, 44100 Hz), once it flows. A PulseAudio sink starts delivering only when it
# has rendered what it had queued before (up to 2 s), then in real time; so the moment is told from
# the length written at known times: the earliest of a few readings, since the file lags.
recording_clock() {
  local i now t start=""
  for i in $(seq 100); do [ -s "$1" ] && break; sleep 0.05; done
  [ -s "$1" ] || fail "nothing recorded from the sound server"
  for i in 1 2 3 4 5; do
    sleep 0.05
    now=$(date +%s%N)
    t=$((now - $(stat -c %s "$1") * 1000000000 / (44100 * 4)))
    [ -n "$start" ] && [ "$start" -le "$t" ] || start=$t
  done
  echo "$start"
}

# hold_escape: Escape down, a pause, then up (a tap can be missed by design).
hold_escape() {
  xdotool keydown Escape
  sleep 0.3
  xdotool keyup Escape
}
