#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup.sh"
cd "$root/build"
ctest --output-on-failure -j "$(nproc)" "$@"
