#!/usr/bin/env bash
# The page's music against its pictures (page_test.js music), with Chromium's sound going to a
# private PulseAudio server's null sink, as a desktop's would to its sound server.
#   tests/web/music.sh WEB_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e/tools/pulse.sh"
work=$(mktemp -d)
trap 'stop_pulse; rm -rf "$work"' EXIT
start_pulse "$work"
node "$here/page_test.js" music "$1"
