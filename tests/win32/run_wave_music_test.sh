#!/usr/bin/env bash
# tests/win32/run_wave_music_test.sh TEST_EXE: makes the click files the music test decodes (two
# seconds, a click at 1.000 s, LAME at 192 kbps with and without its Info frame, mono at 96 kbps,
# and 48000 Hz) and runs the Windows test program under Wine with the suite's prefix
# (tests/win32/wine_env.sh) twice: with a sound device (a private PulseAudio null sink), and with
# Wine's audio drivers turned off, for the silent path.
set -euo pipefail
exe=${1:?usage: run_wave_music_test.sh TEST_EXE}
here=$(dirname "${BASH_SOURCE[0]}")
work=$(mktemp -d)
. "$here/../e2e/tools/pulse.sh"
trap 'stop_pulse; rm -rf "$work"' EXIT

command -v ffmpeg >/dev/null || { echo "FAIL: ffmpeg is missing (Debian package ffmpeg)" >&2; exit 1; }
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
click() {  # click NAME RATE FFMPEG-ARGS...
  local name=$1 rate=$2
  shift 2
  ffmpeg -v error -f lavfi -i "aevalsrc='if(between(t,1,1.0005),0.9,0)':s=$rate:c=stereo" -t 2 \
    -c:a libmp3lame "$@" "$work/$name.mp3"
}
click click 44100 -b:a 192k
click click-untagged 44100 -b:a 192k -write_xing 0
click click-mono 44100 -ac 1 -b:a 96k
click click-48k 48000 -b:a 192k
export WAVE_MUSIC_CLICK WAVE_MUSIC_CLICK_UNTAGGED WAVE_MUSIC_CLICK_MONO WAVE_MUSIC_CLICK_48K
WAVE_MUSIC_CLICK=$(windows_path "$work/click.mp3")
WAVE_MUSIC_CLICK_UNTAGGED=$(windows_path "$work/click-untagged.mp3")
WAVE_MUSIC_CLICK_MONO=$(windows_path "$work/click-mono.mp3")
WAVE_MUSIC_CLICK_48K=$(windows_path "$work/click-48k.mp3")

. "$here/wine_env.sh"
wine_setup
start_pulse "$work"
status=0
# ALSA's complaints about a missing card are noise here.
"$WINE" "$exe" --gtest_filter=-WaveMusic.NoDevice* 2> >(grep -v '^ALSA lib' >&2) || status=1
stop_pulse
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winepulse.drv,winealsa.drv=d" WAVE_MUSIC_NO_DEVICE=1 \
  "$WINE" "$exe" --gtest_filter=WaveMusic.NoDevice* 2> >(grep -v '^ALSA lib' >&2) || status=1
exit $status
