#!/usr/bin/env bash
# valgrind memcheck on a short headless capture (start-up, the pack, every loader, a few frames of
# scene 1 and the shutdown): no invalid read or write, no use of undefined values, no definite leak.
# Noise from Mesa's llvmpipe, SDL and the X and EGL libraries is suppressed by
# scripts/valgrind.supp, which names none of our code. Uses $DEMOTOOL (default build/demotool) and
# $DATA_PACK (default build/run/data.dat).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
demotool=${DEMOTOOL:-$root/build/demotool}
pack=${DATA_PACK:-$root/build/run/data.dat}
tmp=$(mktemp -d /tmp/demo-valgrind.XXXXXX)
trap 'rm -rf "$tmp"' EXIT

# One rasteriser thread keeps llvmpipe's work in the process valgrind watches most closely.
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy LP_NUM_THREADS=0
status=0
valgrind --tool=memcheck --error-exitcode=99 --leak-check=full --show-leak-kinds=definite \
  --errors-for-leak-kinds=definite --track-origins=yes --num-callers=30 --keep-debuginfo=yes \
  --suppressions="$root/scripts/valgrind.supp" --log-file="$tmp/valgrind.log" \
  "$demotool" capture --data "$pack" --fps 10 --from 1500 --to 1500 --out "$tmp/frames" \
  >/dev/null 2>"$tmp/stderr" || status=$?
summary=$(grep -E 'ERROR SUMMARY|definitely lost' "$tmp/valgrind.log" || true)
echo "$summary" | sed 's/^==[0-9]*== /valgrind: /'
if [ "$status" -ne 0 ]; then
  [ "$status" -eq 99 ] && grep -v '^==[0-9]*== *$' "$tmp/valgrind.log" | tail -n 80 >&2
  echo "valgrind: the capture failed (status $status)" >&2
  cat "$tmp/stderr" >&2
  exit 1
fi
[ -n "$(ls "$tmp/frames")" ] || { echo "valgrind: the capture wrote no frame" >&2; exit 1; }
