#!/usr/bin/env bash
# Builds the program and its data (installing only what that needs) and plays the presentation from build/run/.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup.sh" run
cd "$root/build/run"
exec ./demo
