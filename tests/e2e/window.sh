#!/usr/bin/env bash
# The real program's window: title, size, staying up, the ways it ends (close request, Escape), the
# scaled full screen on a larger screen, and the two messages when there is no display.
source "$(dirname "$0")/tools/lib.sh"
export SDL_AUDIODRIVER=dummy

start_xvfb 800x600
run=$(new_run_dir)
(cd "$run" && exec "$DEMO_BIN") 2>"$E2E_TMP/stderr1" &
DEMO_PID=$!
win=$(wait_window '^Karvenel / Olmetra / Quillory 2oo4$' 15) || fail "no window with the title"
geometry=$(xwininfo -id "$win" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[ "$geometry" = "800x600" ] || fail "window is $geometry, not 800x600"
sleep 2
kill -0 "$DEMO_PID" 2>/dev/null || fail "the program did not stay up"
"$X11_CLOSE" "$win"
wait_exit "$DEMO_PID" 5; rc=$RC
[ "$rc" = "0" ] || fail "close request: exit code $rc, expected 0"
DEMO_PID=""
echo "close request: exit 0"

(cd "$run" && exec "$DEMO_BIN") 2>/dev/null &
DEMO_PID=$!
wait_window '^Karvenel' 15 >/dev/null || fail "no window (second run)"
sleep 2
xdotool keydown Escape
start=$(date +%s%N)
wait_exit "$DEMO_PID" 3; rc=$RC
elapsed=$((($(date +%s%N) - start) / 1000000))
xdotool keyup Escape || true
[ "$rc" != "timeout" ] || fail "Escape held: still running after 3 s"
[ "$elapsed" -le 1000 ] || fail "Escape held: ended after $elapsed ms, more than a second"
DEMO_PID=""
echo "escape: ended after $elapsed ms (exit $rc)"

(cd "$run" && exec "$DEMO_BIN") 2>/dev/null &
DEMO_PID=$!
wait_window '^Karvenel' 15 >/dev/null || fail "no window (third run)"
kill -INT "$DEMO_PID"
wait_exit "$DEMO_PID" 5
[ "$RC" = "0" ] || fail "Ctrl+C during start-up: exit code $RC, expected 0"
DEMO_PID=""
[ "$(ls "$run")" = "data.dat" ] || fail "Ctrl+C left loose files: $(ls "$run")"
echo "Ctrl+C during start-up: normal shutdown, exit 0, loose files removed"

start_xvfb 1280x1024
(cd "$run" && exec "$DEMO_BIN") 2>/dev/null &
DEMO_PID=$!
win=$(wait_window '^Karvenel' 15) || fail "no window on the 1280x1024 screen"
sleep 2
geometry=$(xwininfo -id "$win" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[ "$geometry" = "1280x1024" ] || fail "scaled window is $geometry, not the whole screen"
kill -0 "$DEMO_PID" 2>/dev/null || fail "the program did not run on the larger screen"
"$X11_CLOSE" "$win"
wait_exit "$DEMO_PID" 5; rc=$RC
[ "$rc" = "0" ] || fail "scaled run: exit code $rc"
DEMO_PID=""
echo "1280x1024: scaled, exit 0"

kill "$XVFB_PID"
XVFB_PID=""
rc=0
(cd "$run" && env -u DISPLAY -u WAYLAND_DISPLAY "$DEMO_BIN") 2>"$E2E_TMP/stderr2" || rc=$?
[ "$rc" = "0" ] || fail "no display: exit code $rc, expected 0"
grep -q "Unable To Run In Fullscreen!" "$E2E_TMP/stderr2" || fail "no display: first message missing"
grep -q "Program Will Now Quit" "$E2E_TMP/stderr2" || fail "no display: second message missing"
[ "$(ls "$run")" = "data.dat" ] || fail "no display: loose files left behind: $(ls "$run")"
echo "no display: both messages, exit 0"
echo "1 passed, 0 failed"
