#!/usr/bin/env bash
# Builds everything (installing what is missing) and plays the presentation from build/run/.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup.sh"
cd "$root/build/run"
exec ./demo
