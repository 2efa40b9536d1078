#!/usr/bin/env bash
# Runs one Windows program under Wine with the suite's settings; the cross-compiling emulator of the
# Windows build, so that ctest and test discovery run the test programs through it.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"
wine_setup
exec "$WINE" "$@"
