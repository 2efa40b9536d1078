#!/usr/bin/env bash
# scripts/av_sync.sh [--runs N] [--attempts N] [--max-median MS] [--max-pair MS] [--keep DIR]
#                    linux|win64|win32
#
# Measures how far the real program's flashes are from the music's accents, as a viewer sees and
# hears them: the program (build/run/demo, or build-win64/ or build-win32/run/demo.exe under Wine)
# plays on a private X screen into a private PulseAudio null sink, and one ffmpeg process records
# the screen's centre and the sink's monitor on one clock. scripts/av_sync.py then pairs each
# accent with its flash and prints the offsets, their median and the worst (positive: the picture
# comes after the sound). Each run takes about 25 s. Exits 1 when a run is beyond the limits
# (median 20 ms either way, each pair 50 ms, by default). --attempts N measures a run beyond the
# limits again, up to N times in all: the sound server, starved of the processor, can fall behind
# for good in the middle of a run, which says nothing of the program's sync.
# DEMO_BIN, DATA_PACK, DEMOTOOL and WINE_PREFIX_DIR, when set, name the program, the pack, the
# tool that unpacks the music and the Wine prefix instead.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

usage() {
  sed -n '2,16s/^# \{0,1\}//p' "$0"
  exit "${1:-2}"
}
runs=1 attempts=1 limits=() keep=""
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=${2:?}; shift 2 ;;
    --attempts) attempts=${2:?}; shift 2 ;;
    --max-median | --max-pair) limits+=("$1" "${2:?}"); shift 2 ;;
    --keep) keep=${2:?}; shift 2 ;;
    -h | --help) usage 0 ;;
    linux | win64 | win32) target=$1; shift ;;
    *) echo "av_sync: unknown argument $1" >&2; usage ;;
  esac
done
[ -n "${target:-}" ] || usage

pack=${DATA_PACK:-$root/build/run/data.dat}
demotool=${DEMOTOOL:-$root/build/demotool}
case $target in
  linux) program=$root/build/run/demo ;;
  win64) program=$root/build-win64/run/demo.exe prefix=$root/build-win64/wine-prefix ;;
  win32) program=$root/build-win32/run/demo.exe prefix=$root/build-win32/wine-prefix ;;
esac
program=${DEMO_BIN:-$program}
[ "$target" = linux ] || prefix=${WINE_PREFIX_DIR:-$prefix}
for f in "$program" "$pack" "$demotool"; do
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
# The sound server ahead of the program in the processor's queue, as a desktop's sound server runs
# (where it may not be raised, it stays as it is).
renice -n -10 -p "${PULSE_PIDS[0]}" >/dev/null 2>&1 || true
if [ "$target" != linux ]; then
  export WINE_PREFIX_DIR=$prefix
  . "$root/tests/win32/wine_env.sh"
  wine_setup
  "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d pulse /f </dev/null >/dev/null 2>&1
fi
(cd "$work" && "$demotool" pack extract "$pack" >/dev/null)
reference=$work/muza_final.mp3

# record FOLDER: one run of the program, recorded into FOLDER.
record() {
  mkdir -p "$1/play"
  cp "$pack" "$1/play/data.dat"
  # A 64x64 patch of the centre at 200 grabs a second (a flash whitens all of it within a
  # frame), and the monitor at the sink's own rate; both stamped with the wall clock.
  ffmpeg -v error -y -use_wallclock_as_timestamps 1 -f x11grab -framerate 200 -video_size 64x64 \
    -i "$DISPLAY+368,268" -use_wallclock_as_timestamps 1 -f pulse -sample_rate 44100 -channels 2 \
    -fragment_size 1024 -i recorded.monitor \
    -map 0:v -c:v rawvideo -pix_fmt gray -copyts -f nut "$1/video.nut" \
    -map 1:a -c:a pcm_s16le -copyts -f nut "$1/audio.nut" </dev/null 2>"$1/ffmpeg.log" &
  recorder=$!
  sleep 1
  # Mesa's software rasterizer would otherwise draw on every core and starve the sound server,
  # which then falls behind for good; a machine that draws on its graphics card leaves it a core.
  export LP_NUM_THREADS=0
  if [ "$target" = linux ]; then
    (cd "$1/play" && SDL_AUDIODRIVER=pulseaudio exec "$program") 2>"$1/program.log" &
  else
    (cd "$1/play" && exec "$WINE" "$program") 2>"$1/program.log" &
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
}

status=0
for run in $(seq "$runs"); do
  for attempt in $(seq "$attempts"); do
    folder=$work/run-$run-$attempt
    record "$folder"
    echo "av_sync: run $run of $runs ($target)$([ "$attempt" -gt 1 ] && echo ", attempt $attempt")"
    result=0
    python3 "$root/scripts/av_sync.py" "$folder" "$reference" "${limits[@]}" || result=$?
    [ -n "$keep" ] && mkdir -p "$keep" && cp -r "$folder" "$keep/"
    [ "$result" -ne 0 ] || break
    [ "$attempt" -lt "$attempts" ] && echo "av_sync: beyond the limits; measured once more"
  done
  [ "$result" -eq 0 ] || status=1
done
exit $status
