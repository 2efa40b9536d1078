#!/usr/bin/env bash
# The Windows program under Wine, as a viewer meets it: the window's exact title, the loading
# picture before the first frame, the scenes in the letterbox, Escape and a close request with
# their exit codes and clean folders, a broken pack answered by its message box, and a larger
# screen filled by the scaled picture. The music and the timeline's speed are checked by
# tests/e2e/timing.sh, which the Windows builds run on demo.exe too.
#   DEMO_BIN (demo.exe), DATA_PACK, X11_CLOSE, DEMOTOOL: set by the build.
source "$(dirname "$0")/../e2e/tools/lib.sh"
source "$(dirname "$0")/wine_env.sh"
: "${X11_CLOSE:?X11_CLOSE must name the close-request helper}"
: "${DEMOTOOL:?DEMOTOOL must name demotool}"

title='Karvenel / Olmetra / Quillory 2oo4'
source "$(dirname "$0")/../e2e/tools/pulse.sh"
trap 'stop_pulse; cleanup' EXIT

# play RUN_FOLDER: starts demo.exe there; sets DEMO_PID and win.
play() {
  (cd "$1" && exec "$WINE" "$DEMO_BIN") 2>"$RUN_STDERR" &
  DEMO_PID=$!
  win=$(wait_titled_window "$title" 30) || fail "no window titled \"$title\""
}
# ends_with CODE WHAT RUN_FOLDER: waits for the exit; the code and a folder holding only data.dat.
ends_with() {
  wait_exit "$DEMO_PID" 10
  [ "$RC" = "$1" ] || fail "$2: exit code $RC, expected $1"
  DEMO_PID=""
  [ "$(ls "$3")" = "data.dat" ] || fail "$2: the folder holds $(ls "$3" | tr '\n' ' ')"
}

start_xvfb 800x600
wine_setup
start_pulse "$E2E_TMP" || fail "no sound server"
"$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d pulse /f </dev/null >/dev/null 2>&1
pictures="$E2E_TMP/pictures"
mkdir -p "$pictures"
(cd "$pictures" && "$DEMOTOOL" pack extract "$DATA_PACK" >/dev/null) || fail "cannot extract the pack"
# The file says its rows run from the bottom; -auto-orient turns them the right way up.
convert "$pictures/loading.tga" -auto-orient "$E2E_TMP/loading.png"

# 1. Title, loading picture, scenes in the letterbox, Escape; the music plays into the null sink.
run=$(new_run_dir)
play "$run"
t0=$(date +%s%N)
first=""
for i in $(seq 100); do
  import -window root "$E2E_TMP/early.png"
  m=$(mean_of "$E2E_TMP/early.png" 800x600+0+0)
  if awk -v m="$m" 'BEGIN{exit !(m > 2)}'; then first="$E2E_TMP/early.png"; break; fi
  sleep 0.05
done
[ -n "$first" ] || fail "nothing was drawn in the window"
d=$(diff_fraction "$first" "$E2E_TMP/loading.png" 8%)
awk -v d="$d" 'BEGIN{exit !(d < 0.02)}' || fail "the first picture is not the loading picture ($d differs)"
echo "title exact; the first picture is the loading picture ($d differs)"

at() {  # at SECONDS-AFTER-THE-WINDOW FILE
  local due=$((t0 + ${1/./} * 100000000))
  while [ "$(date +%s%N)" -lt "$due" ]; do sleep 0.02; done
  import -window root "$2"
}
at 4.0 "$E2E_TMP/s1.png"
at 12.0 "$E2E_TMP/s3.png"
kill -0 "$DEMO_PID" 2>/dev/null || fail "the program ended by itself"
for s in s1 s3; do
  top=$(mean_of "$E2E_TMP/$s.png" 800x50+0+0)
  bottom=$(mean_of "$E2E_TMP/$s.png" 800x50+0+550)
  centre=$(mean_of "$E2E_TMP/$s.png" 800x500+0+50)
  awk -v a="$top" -v b="$bottom" -v c="$centre" 'BEGIN{exit !(a < 0.5 && b < 0.5 && c > 2)}' ||
    fail "$s: not a picture between black bands (top $top, centre $centre, bottom $bottom)"
done
d=$(diff_fraction "$E2E_TMP/s1.png" "$E2E_TMP/s3.png" 8%)
awk -v d="$d" 'BEGIN{exit !(d > 0.05)}' || fail "scenes 1 and 3 look the same ($d differs)"
echo "scenes drawn between black bands; scenes 1 and 3 differ ($d)"

xdotool windowfocus --sync "$win" 2>/dev/null || true
hold_escape
ends_with 27 "Escape" "$run"
echo "Escape: exit 27, loose files removed, data.dat kept"

# 2. A close request.
run=$(new_run_dir)
play "$run"
wait_first_frame 60
"$X11_CLOSE" "$win"
ends_with 0 "close request" "$run"
echo "close request: exit 0, loose files removed"

# 3. A broken pack: the message box, a non-zero exit, nothing unpacked left.
run=$(mktemp -d "$E2E_TMP/broken.XXXXXX")
head -c 3000 "$DATA_PACK" >"$run/data.dat"
(cd "$run" && exec "$WINE" "$DEMO_BIN") 2>"$RUN_STDERR" &
DEMO_PID=$!
box=$(wait_titled_window "ERROR" 30) || fail "no message box captioned ERROR"
# The box is up: a window, had one been opened, would be up too; a few seconds more tell.
wait_titled_window "$title" 3 >/dev/null && fail "a window opened for a broken pack"
xdotool windowfocus --sync "$box" key Return
wait_exit "$DEMO_PID" 10
[ "$RC" = "2" ] || fail "broken pack: exit code $RC, expected 2"
DEMO_PID=""
[ "$(ls "$run")" = "data.dat" ] || fail "broken pack left $(ls "$run" | tr '\n' ' ')"
echo "broken pack: a box captioned ERROR, exit $RC, nothing left behind"

# 4. A screen larger than the picture: desktop full screen, scaled by 1.6 into 1280x960 with
# 32-pixel bars, the letterbox's 50-pixel bands grown to 80 inside it.
start_xvfb 1280x1024
wine_setup  # Wine's desktop on the new screen
run=$(new_run_dir)
play "$run"
wait_first_frame 60
geometry=$(xwininfo -id "$win" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[ "$geometry" = "1280x1024" ] || fail "scaled window is $geometry, not the whole screen"
import -window root "$E2E_TMP/scaled.png"
for region in 1280x8+0+103 1280x8+0+913 1280x100+0+0 1280x100+0+924; do
  m=$(mean_of "$E2E_TMP/scaled.png" $region)
  awk -v m="$m" 'BEGIN{exit !(m < 0.5)}' || fail "scaled: $region is not black ($m)"
done
for region in 1280x4+0+113 1280x4+0+907 6x790+0+117 6x790+1274+117; do
  m=$(mean_of "$E2E_TMP/scaled.png" $region)
  awk -v m="$m" 'BEGIN{exit !(m > 2)}' || fail "scaled: $region holds no picture ($m)"
done
xdotool windowfocus --sync "$win" 2>/dev/null || true
hold_escape
ends_with 27 "Escape (scaled)" "$run"
echo "1280x1024: desktop full screen, the picture scaled into 1280x960 with black bars"
echo "1 passed, 0 failed"
