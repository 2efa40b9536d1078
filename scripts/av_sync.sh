#!/usr/bin/env bash
# scripts/av_sync.sh [--runs N] [--max-median MS] [--max-pair MS] [--keep DIR] linux|win64|win32
#
# Measures how far the real program's flashes are from the music's accents, as a viewer sees and
# hears them: the program (build/run/demo, or build-win64/ or build-win32/run/demo.exe under Wine)
# plays on a private X screen into a private PulseAudio null sink, and one ffmpeg process records
# the screen's centre and the sink's monitor on one clock. scripts/av_sync.py then pairs each
# accent with its flash and prints the offsets, their median and the worst (positive: the picture
# comes after the sound). Each run takes about 25 s. Exits 1 when a run is beyond the limits
# (median 20 ms either way, each pair 50 ms, by default).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

usage() {
  sed -n '2,11s/^# \{0,1\}//p' "$0"
  exit "${1:-2}"
}
runs=1 limits=() keep=""
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=${2:?}; shift 2 ;;
    --max-median | --max-pair) limits+=("$1" "${2:?}"); shift 2 ;;
    --keep) keep=${2:?}; shift 2 ;;
    -h | --help) usage 0 ;;
    linux | win64 | win32) target=$1; shift ;;
    *) echo "av_sync: unknown argument $1" >&2; usage ;;
  esac
done
[ -n "${target:-}" ] || usage

pack=$root/build/run/data.dat
case $target in
  linux) program=$root/build/run/demo ;;
  win64) program=$root/build-win64/run/demo.exe prefix=$root/build-win64/wine-prefix ;;
  win32) program=$root/build-win32/run/demo.exe prefix=$root/build-win32/wine-prefix ;;
esac
for f in "$program" "$pack"; do
  [ -f "$f" ] || { echo "av_sync: $f is missing: build it first (./test.sh or scripts/setup.sh)" >&2; exit 2; }
done
for tool in Xvfb ffmpeg ffprobe pulseaudio pacat xdotool python3; do
  command -v $tool >/dev/null || { echo "av_sync: $tool is missing (scripts/setup.sh test installs it)" >&2; exit 2; }
done

work=$(mktemp -d /tmp/av-sync.XXXXXX)
xvfb="" program_pid="" recorder=""
. "$root/tests/e2e/tools/pulse.sh"
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$recorder" ] && kill "$recorder" 2>/dev/null
  stop_pulse
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  [ -n "${prefix:-}" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A private screen of the presentation's size, so that the picture fills it 1:1.
fifo=$work/displayfd
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
read -r -t 10 display <"$fifo" || { echo "av_sync: Xvfb did not start" >&2; exit 2; }
export DISPLAY=:$display
start_pulse "$work" || exit 2
if [ "$target" != linux ]; then
  export WINE_PREFIX_DIR=$prefix
  . "$root/tests/win32/wine_env.sh"
  wine_setup
  "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d pulse /f </dev/null >/dev/null 2>&1
fi
(cd "$work" && "$root/build/demotool" pack extract "$pack" >/dev/null)
reference=$work/muza_final.mp3

status=0
for run in $(seq "$runs"); do
  folder=$work/run-$run
  mkdir -p "$folder/play"
  cp "$pack" "$folder/play/data.dat"
  # A 64x64 patch of the centre at 200 grabs a second (a flash whitens all of it within a
  # frame), and the monitor at the sink's own rate; both stamped with the wall clock.
  ffmpeg -v error -y -use_wallclock_as_timestamps 1 -f x11grab -framerate 200 -video_size 64x64 \
    -i "$DISPLAY+368,268" -use_wallclock_as_timestamps 1 -f pulse -sample_rate 44100 -channels 2 \
    -fragment_size 1024 -i recorded.monitor \
    -map 0:v -c:v rawvideo -pix_fmt gray -copyts -f nut "$folder/video.nut" \
    -map 1:a -c:a pcm_s16le -copyts -f nut "$folder/audio.nut" </dev/null 2>"$folder/ffmpeg.log" &
  recorder=$!
  sleep 1
  if [ "$target" = linux ]; then
    (cd "$folder/play" && SDL_AUDIODRIVER=pulseaudio exec "$program") 2>"$folder/program.log" &
  else
    (cd "$folder/play" && exec "$WINE" "$program") 2>"$folder/program.log" &
  fi
  program_pid=$!
  # The loading picture's second, the 16 s of scenes and a margin; then Escape, held.
  sleep 19.5
  xdotool keydown Escape
  sleep 0.3
  xdotool keyup Escape
  wait "$program_pid" || true
  program_pid=""
  kill -INT "$recorder"
  wait "$recorder" || true
  recorder=""
  echo "av_sync: run $run of $runs ($target)"
  python3 "$root/scripts/av_sync.py" "$folder" "$reference" "${limits[@]}" || status=1
  [ -n "$keep" ] && mkdir -p "$keep" && cp -r "$folder" "$keep/"
done
exit $status
