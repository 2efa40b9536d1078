#!/usr/bin/env bash
# The real program keeps time: its pictures advance as fast as the wall clock, and its music,
# recorded from a private PulseAudio sink, is not heard before time zero, plays once and at its own
# speed (tools/music_heard.py). The Windows builds run it on demo.exe under Wine (WINE_PREFIX_DIR
# set).
source "$(dirname "$0")/tools/lib.sh"
source "$(dirname "$0")/tools/pulse.sh"
trap 'stop_pulse; cleanup' EXIT

start_xvfb 800x600
start_pulse "$E2E_TMP" || fail "no sound server"
launch=()
if [ -n "${WINE_PREFIX_DIR:-}" ]; then
  source "$(dirname "$0")/../win32/wine_env.sh"
  wine_setup
  "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d pulse /f </dev/null >/dev/null 2>&1
  launch=("$WINE")
fi
run=$(new_run_dir)
heard="$E2E_TMP/heard.raw"
parec --latency-msec=5 -d recorded.monitor --format=s16le --rate=44100 --channels=2 --raw \
  >"$heard" &
pulse_track $!
recording_start=$(recording_clock "$heard")
(cd "$run" && SDL_AUDIODRIVER=pulseaudio exec "${launch[@]}" "$DEMO_BIN") 2>"$RUN_STDERR" &
DEMO_PID=$!
wait_window '^Karvenel' 15 >/dev/null || fail "no window"
wait_first_frame 30
[ "$LOADING_SEEN" = 1 ] || fail "the loading picture was not on the screen before the first frame"

# shot FILE: a shot of the screen; prints when it was started, in seconds after T0. The grab
# follows the same start-up of import each time; what comes after it varies with the load.
shot() {
  local started
  started=$(date +%s%N)
  import -window root "$1"
  awk -v t=$((started - T0)) 'BEGIN{printf "%.3f", t / 1e9}'
}
# Two shots 3 s apart, the first at once: on a loaded machine time zero is seen late.
due=$(($(date +%s%N) + 3000000000))
wall_a=$(shot "$E2E_TMP/a.png")
while [ "$(date +%s%N)" -lt "$due" ]; do sleep 0.01; done
wall_b=$(shot "$E2E_TMP/b.png")

# Past the music's 20 s end, so that a second playing would be heard.
due=$((T0 + 26000000000))
while [ "$(date +%s%N)" -lt "$due" ]; do sleep 0.1; done
kill -0 "$DEMO_PID" 2>/dev/null || fail "the program ended by itself"
hold_escape
wait_exit "$DEMO_PID" 5
[ "$RC" = 27 ] || fail "Escape: exit code $RC, expected 27"
DEMO_PID=""
stop_pulse

# The timeline's progress between the two shots: each shot's moment is that of the nearest of
# headless frames every 100 ms from 0 to 12 s (a timer at half or twice the speed puts the second
# shot 1.5 or 6 s after the first), compared at 40x30. Prints where the timeline's zero lies,
# in seconds after T0: the moment its clock read 0, which the music must keep to.
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$DEMOTOOL" capture --data "$DATA_PACK" \
  --fps 10 --to 12000 --out "$E2E_TMP/ref" >/dev/null 2>&1 || fail "cannot capture the frames"
convert "$E2E_TMP"/ref/frame-*.png -scale '40x30!' -depth 8 "rgb:$E2E_TMP/ref.rgb"
convert "$E2E_TMP/a.png" "$E2E_TMP/b.png" -scale '40x30!' -depth 8 "rgb:$E2E_TMP/shots.rgb"
timeline_zero=$(python3 - "$E2E_TMP/ref.rgb" "$E2E_TMP/shots.rgb" "$wall_a" "$wall_b" <<'PY'
import sys
size = 40 * 30 * 3
refs, shots = (open(p, "rb").read() for p in sys.argv[1:3])
def nearest(shot):
    d = [sum((a - b) ** 2 for a, b in zip(shot, refs[i:i + size]))
         for i in range(0, len(refs), size)]
    best = min(range(len(d)), key=d.__getitem__)
    return best * 0.1, (d[best] / size) ** 0.5 / 255
(ta, da), (tb, db) = nearest(shots[:size]), nearest(shots[size:])
wa, wb = float(sys.argv[3]), float(sys.argv[4])
speed = (tb - ta) / (wb - wa)
print("timer: shots at %.2f and %.2f s after the first frame was seen show %.1f and %.1f s "
      "(RMS %.3f, %.3f): speed %.2f" % (wa, wb, ta, tb, da, db, speed), file=sys.stderr)
print("%.3f" % ((wa - ta + wb - tb) / 2))
sys.exit(0 if abs(speed - 1) < 0.15 else 1)
PY
) || fail "the timeline does not run at the wall clock's speed"

(cd "$E2E_TMP" && "$DEMOTOOL" pack extract "$DATA_PACK" >/dev/null) || fail "cannot unpack"
# Time zero as the shots place it: their frames' 100 ms steps and the grabs' start-up blur it.
zero=$(awk -v t=$((T0 - recording_start)) -v z="$timeline_zero" 'BEGIN{printf "%.3f", t / 1e9 + z}')
python3 "$(dirname "$0")/tools/music_heard.py" "$heard" "$zero" "$E2E_TMP/muza_final.mp3" \
  --slack 0.3 ||
  fail "the music was not heard as it should be"
echo "1 passed, 0 failed"
