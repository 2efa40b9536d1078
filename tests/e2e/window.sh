#!/usr/bin/env bash
# The real program's window: title, size, staying up, the ways it ends (close request, Escape,
# Ctrl+C and SIGTERM during start-up and while running), the scaled full screen's picture on a larger
# screen, a pack whose music is missing or broken, and the two messages when there is no display.
source "$(dirname "$0")/tools/lib.sh"
export SDL_AUDIODRIVER=dummy

start_xvfb 800x600
run=$(new_run_dir)
(cd "$run" && exec "$DEMO_BIN") 2>"$E2E_TMP/stderr1" &
DEMO_PID=$!
win=$(wait_window '^Karvenel / Olmetra / Quillory 2oo4$' 15) || fail "no window with the title"
geometry=$(xwininfo -id "$win" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[ "$geometry" = "800x600" ] || fail "window is $geometry, not 800x600"
wait_first_frame 30
kill -0 "$DEMO_PID" 2>/dev/null || fail "the program did not stay up"
"$X11_CLOSE" "$win"
wait_exit "$DEMO_PID" 5; rc=$RC
[ "$rc" = "0" ] || fail "close request: exit code $rc, expected 0"
DEMO_PID=""
echo "close request: exit 0"

(cd "$run" && exec "$DEMO_BIN") 2>/dev/null &
DEMO_PID=$!
wait_window '^Karvenel' 15 >/dev/null || fail "no window (second run)"
wait_first_frame 30
xdotool keydown Escape
start=$(date +%s%N)
wait_exit "$DEMO_PID" 3; rc=$RC
elapsed=$((($(date +%s%N) - start) / 1000000))
xdotool keyup Escape || true
[ "$rc" = "27" ] || fail "Escape held: exit code $rc, expected 27"
[ "$elapsed" -le 1000 ] || fail "Escape held: ended after $elapsed ms, more than a second"
DEMO_PID=""
echo "escape: ended after $elapsed ms, exit 27"

(cd "$run" && exec "$DEMO_BIN") 2>/dev/null &
DEMO_PID=$!
wait_window '^Karvenel' 15 >/dev/null || fail "no window (third run)"
kill -INT "$DEMO_PID"
wait_exit "$DEMO_PID" 5
[ "$RC" = "0" ] || fail "Ctrl+C during start-up: exit code $RC, expected 0"
DEMO_PID=""
[ "$(ls "$run")" = "data.dat" ] || fail "Ctrl+C left loose files: $(ls "$run")"
echo "Ctrl+C during start-up: normal shutdown, exit 0, loose files removed"

# silent_run PACK: the program in a fresh folder with that pack; it must say once on stderr that it
# runs silently and stay up past start-up. Sets DEMO_PID, run and win.
silent_run() {
  run=$(mktemp -d "$E2E_TMP/silent.XXXXXX")
  cp "$1" "$run/data.dat"
  (cd "$run" && exec "$DEMO_BIN") 2>"$RUN_STDERR" &
  DEMO_PID=$!
  win=$(wait_window '^Karvenel' 15) || fail "no window for $1"
  wait_first_frame 30
  kill -0 "$DEMO_PID" 2>/dev/null || fail "$1: the program did not stay up"
  # libmpg123 adds its own "Note:" lines about a broken file; ours is said once.
  [ "$(grep -c "^audio: .*runs silently$" "$RUN_STDERR")" = "1" ] ||
    fail "$1: not one line on stderr saying that it runs silently"
}
# ended_by SIGNAL: the signal while the program runs: a normal shutdown, exit 0, nothing left.
ended_by() {
  kill "-$1" "$DEMO_PID"
  wait_exit "$DEMO_PID" 5
  [ "$RC" = "0" ] || fail "$1 while running: exit code $RC, expected 0"
  DEMO_PID=""
  [ "$(ls "$run")" = "data.dat" ] || fail "$1 left loose files: $(ls "$run")"
}
pack_files=$(mktemp -d "$E2E_TMP/pack.XXXXXX")
(cd "$pack_files" && "$DEMOTOOL" pack extract "$DATA_PACK") || fail "cannot extract the pack"
others=$(cd "$pack_files" && ls | grep -v -e '^skora.tga$' -e '^muza_final.mp3$' -e '^data.dat$')
(cd "$pack_files" && "$DEMOTOOL" pack create "$E2E_TMP/no_music.dat" $others skora.tga) ||
  fail "cannot pack without the music"
head -c 5000 /dev/urandom >"$pack_files/muza_final.mp3"
(cd "$pack_files" && "$DEMOTOOL" pack create "$E2E_TMP/bad_music.dat" muza_final.mp3 $others skora.tga) ||
  fail "cannot pack the broken music"

silent_run "$E2E_TMP/bad_music.dat"
ended_by TERM
echo "broken music: silent, one line on stderr; SIGTERM while running: exit 0, clean"

# 800x600 scaled by 1.6 to 1280x960 with 32-pixel bars above and below; inside it the letterbox's
# 50-pixel bands grow to 80, so the screen is black down to row 111 and from row 912.
start_xvfb 1280x1024
silent_run "$E2E_TMP/no_music.dat"
geometry=$(xwininfo -id "$win" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[ "$geometry" = "1280x1024" ] || fail "scaled window is $geometry, not the whole screen"
import -window root "$E2E_TMP/scaled.png"
for region in 1280x8+0+103 1280x8+0+913 1280x100+0+0 1280x100+0+924; do
  awk -v m="$(mean_of "$E2E_TMP/scaled.png" $region)" 'BEGIN{exit !(m < 0.5)}' || fail "scaled: $region is not black"
done
for region in 1280x4+0+113 1280x4+0+907 6x790+0+117 6x790+1274+117; do
  awk -v m="$(mean_of "$E2E_TMP/scaled.png" $region)" 'BEGIN{exit !(m > 2)}' || fail "scaled: $region holds no picture"
done
ended_by INT
echo "1280x1024: the picture scaled into 1280x960 with black bars; no music: silent, one line on stderr; Ctrl+C while running: exit 0, clean"

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
