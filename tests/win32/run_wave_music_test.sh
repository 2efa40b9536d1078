#!/usr/bin/env bash
# tests/win32/run_wave_music_test.sh TEST_EXE [GTEST_ARGS...]: makes the click files the music test
# decodes (two seconds, a click at 1.000 s, LAME at 192 kbps with and without its Info frame, and
# mono at 96 kbps) and runs the Windows test program under Wine with the suite's prefix
# (tests/win32/wine_env.sh). Without a sound card or a PulseAudio server, waveOut has no device and
# the test checks the silent path too.
set -euo pipefail
exe=${1:?usage: run_wave_music_test.sh TEST_EXE [GTEST_ARGS...]}
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

if command -v ffmpeg >/dev/null; then
  click="aevalsrc='if(between(t,1,1.0005),0.9,0)':s=44100:c=stereo"
  ffmpeg -v error -f lavfi -i "$click" -t 2 -c:a libmp3lame -b:a 192k "$work/click.mp3"
  ffmpeg -v error -f lavfi -i "$click" -t 2 -c:a libmp3lame -b:a 192k -write_xing 0 \
    "$work/click-untagged.mp3"
  ffmpeg -v error -f lavfi -i "$click" -t 2 -ac 1 -c:a libmp3lame -b:a 96k "$work/click-mono.mp3"
  export WAVE_MUSIC_CLICK WAVE_MUSIC_CLICK_UNTAGGED WAVE_MUSIC_CLICK_MONO
  WAVE_MUSIC_CLICK=$(windows_path "$work/click.mp3")
  WAVE_MUSIC_CLICK_UNTAGGED=$(windows_path "$work/click-untagged.mp3")
  WAVE_MUSIC_CLICK_MONO=$(windows_path "$work/click-mono.mp3")
else
  echo "ffmpeg is not installed: the click checks are skipped" >&2
fi

if ! grep -qs '^ *[0-9]' /proc/asound/cards && ! pactl info >/dev/null 2>&1; then
  export WAVE_MUSIC_NO_DEVICE=1
fi

. "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"
wine_setup
# ALSA's complaints about a missing card are noise here.
"$WINE" "$exe" "$@" 2> >(grep -v '^ALSA lib' >&2)
