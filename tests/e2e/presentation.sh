#!/usr/bin/env bash
# The whole presentation in a fresh folder that holds only data.dat, on its own 800x600 screen:
# screenshots inside different scenes and of the end picture, the clean-up and exit code after
# Escape, a run without an audio device ended by a close request, and a broken pack. (The music as
# heard: timing.sh.)
source "$(dirname "$0")/tools/lib.sh"

shot() { import -window root "$1"; }

start_xvfb 800x600
run=$(new_run_dir)
(cd "$run" && SDL_AUDIODRIVER=dummy exec "$DEMO_BIN") 2>"$RUN_STDERR" &
DEMO_PID=$!
win=$(wait_window '^Karvenel / Olmetra / Quillory 2oo4$' 15) || fail "no window"
wait_first_frame 30
[ "$LOADING_SEEN" = 1 ] || fail "the loading picture was not on the screen before the first frame"
t0=$T0
at() {  # at SECONDS-OF-PRESENTATION FILE
  local due=$((t0 + ${1/./} * 100000000))
  while [ "$(date +%s%N)" -lt "$due" ]; do sleep 0.02; done
  shot "$2"
}
at 2.0 "$E2E_TMP/s1.png"
at 6.5 "$E2E_TMP/s2.png"
at 10.5 "$E2E_TMP/s3.png"
at 13.5 "$E2E_TMP/s5.png"
at 18.0 "$E2E_TMP/end1.png"
at 20.5 "$E2E_TMP/end2.png"
kill -0 "$DEMO_PID" 2>/dev/null || fail "the program ended by itself"

for s in s1 s2 s3 s5 end1; do
  top=$(mean_of "$E2E_TMP/$s.png" 800x50+0+0)
  bottom=$(mean_of "$E2E_TMP/$s.png" 800x50+0+550)
  awk -v a="$top" -v b="$bottom" 'BEGIN{exit !(a < 0.5 && b < 0.5)}' ||
    fail "$s: the letterbox bands are not black (top $top, bottom $bottom)"
  centre=$(mean_of "$E2E_TMP/$s.png" 800x500+0+50)
  awk -v c="$centre" 'BEGIN{exit !(c > 2)}' || fail "$s: the picture area is black"
done
# Each shot is nearer to a headless frame of its own moment (from 0.2 s before to 0.4 s after,
# since time zero is seen a little late) than to those of the other scenes: camera motion within a
# scene cannot pass for a cut, nor a stuck scene for the next one. Compared at 40x30, where small
# timing errors hardly count (0.01 to 0.06 RMS against the own moment, 0.10 to 0.23 against the
# others).
references=(s1:2000 s2:6500 s3:10500 s5:13500 end1:18000)
for r in "${references[@]}"; do
  SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$DEMOTOOL" capture --data "$DATA_PACK" \
    --fps 10 --from $((${r#*:} - 200)) --to $((${r#*:} + 400)) --out "$E2E_TMP/ref-${r%%:*}" >/dev/null 2>&1 || fail "cannot capture the frame at ${r#*:} ms"
done
nearest=""
for r in "${references[@]}"; do
  name=${r%%:*}
  best="" best_d=2
  for q in "${references[@]}"; do
    for frame in "$E2E_TMP/ref-${q%%:*}"/frame-*.png; do
      d=$(small_distance "$E2E_TMP/$name.png" "$frame" 40x30)
      awk -v d="$d" -v b="$best_d" 'BEGIN{exit !(d < b)}' && best=${q%%:*} best_d=$d
    done
  done
  [ "$best" = "$name" ] || fail "the shot of $name looks most like the frame of $best ($best_d differs)"
  nearest+=" $name:$best_d"
done
echo "each shot against the nearest frame of its own moment (RMS at 40x30):$nearest"
d=$(diff_fraction "$E2E_TMP/end1.png" "$E2E_TMP/end2.png")
awk -v d="$d" 'BEGIN{exit !(d < 0.01)}' || fail "the end picture is not stable ($d differs)"
echo "screenshots: black bands, each scene the one of its moment, end picture stable"

hold_escape
wait_exit "$DEMO_PID" 2
[ "$RC" = "27" ] || fail "Escape: exit code $RC, expected 27"
DEMO_PID=""
left=$(ls "$run")
[ "$left" = "data.dat" ] || fail "after Escape the run folder holds: $left"
echo "escape: exit 27, the 18 loose files are gone, data.dat stays, nothing else left"

# No audio device at all: silent, one line on stderr, and the pictures still follow the timer.
(cd "$run" && SDL_AUDIODRIVER=no-such-driver exec "$DEMO_BIN") 2>"$RUN_STDERR" &
DEMO_PID=$!
win=$(wait_window '^Karvenel' 30) || fail "no window (second run)"
wait_first_frame 30
t0=$T0
at 18.0 "$E2E_TMP/silent_end.png"
d=$(diff_fraction "$E2E_TMP/end1.png" "$E2E_TMP/silent_end.png")
awk -v d="$d" 'BEGIN{exit !(d < 0.01)}' || fail "without audio the end picture is not there at 18 s"
[ "$(wc -l <"$RUN_STDERR")" = "1" ] && grep -q "^audio: no audio device .*runs silently$" "$RUN_STDERR" ||
  fail "without audio: not one line on stderr saying that it runs silently"
"$X11_CLOSE" "$win"
wait_exit "$DEMO_PID" 5
[ "$RC" = "0" ] || fail "close request: exit code $RC"
DEMO_PID=""
[ "$(ls "$run")" = "data.dat" ] || fail "after the close request the run folder holds: $(ls "$run")"
echo "no audio device: silent, one line on stderr, end picture on time; close request: exit 0, clean"

broken=$(mktemp -d "$E2E_TMP/broken.XXXXXX")
head -c 300000 "$DATA_PACK" >"$broken/data.dat"
(cd "$broken" && SDL_AUDIODRIVER=dummy exec "$DEMO_BIN") 2>"$RUN_STDERR" &
DEMO_PID=$!
box=$(wait_titled_window ERROR 15) || fail "no message box captioned ERROR for a broken pack"
[ "$(ls "$broken")" = "data.dat" ] || fail "a broken pack left loose files: $(ls "$broken")"
# Asked while the box is up and the program still runs: afterwards no window would be found anyway.
xdotool search --name '^Karvenel' >/dev/null 2>&1 && fail "a window opened for a broken pack"
xdotool windowfocus "$box"
xdotool key Return
wait_exit "$DEMO_PID" 5
if [ "$RC" = "timeout" ]; then
  "$X11_CLOSE" "$box"
  wait_exit "$DEMO_PID" 5
fi
[ "$RC" = "2" ] || fail "broken pack: exit code $RC, expected 2"
DEMO_PID=""
[ "$(ls "$broken")" = "data.dat" ] || fail "a broken pack left loose files: $(ls "$broken")"
echo "broken pack: ERROR box, exit $RC, no loose files"
echo "1 passed, 0 failed"
