#!/usr/bin/env bash
# The program started in a folder where someone placed, under entry names of the pack, links to a
# file and a folder outside, a dangling link, a hard link and a named pipe: the start-up must not
# hang, must replace each name with the pack's bytes and change nothing outside; the removal at
# exit removes a link placed meanwhile, not what it points at.
source "$(dirname "$0")/tools/lib.sh"

start_xvfb 800x600
run=$(new_run_dir)
outside="$E2E_TMP/outside.txt"
echo "outside, keep" >"$outside"
mkdir "$E2E_TMP/elsewhere"
ln -s "$outside" "$run/skora.tga"
ln -s "$E2E_TMP/elsewhere" "$run/s_top.tga"
ln -s "$E2E_TMP/missing" "$run/czacha.tga"
ln "$outside" "$run/mozg.tga"
mkfifo "$run/back01.tga"

(cd "$run" && SDL_AUDIODRIVER=dummy exec "$DEMO_BIN") 2>"$RUN_STDERR" &
DEMO_PID=$!
win=$(wait_window '^Karvenel' 20) || fail "no window: the start-up hangs on the pipe or refused"

"$DEMOTOOL" pack extract "$DATA_PACK" "$(mkdir "$E2E_TMP/ref" && echo "$E2E_TMP/ref")"
for name in skora.tga s_top.tga czacha.tga mozg.tga back01.tga; do
  [ -f "$run/$name" ] && [ ! -L "$run/$name" ] || fail "$name is not a plain file"
  cmp -s "$run/$name" "$E2E_TMP/ref/$name" || fail "$name does not hold the pack's bytes"
done
[ "$(cat "$outside")" = "outside, keep" ] || fail "the file outside was written through a link"
[ "$(stat -c %h "$outside")" = 1 ] || fail "the hard link still shares the file outside"
[ -z "$(ls -A "$E2E_TMP/elsewhere")" ] || fail "something was written into the folder outside"
[ ! -e "$E2E_TMP/missing" ] || fail "the dangling link's target was created"
echo "start-up: five trapped names hold the pack's bytes, nothing outside changed"

# Placed while the program runs, once loading is over: the removal at exit must take the link,
# not its target.
wait_first_frame 30
ln -sf "$outside" "$run/s_end.tga"
"$X11_CLOSE" "$win"
wait_exit "$DEMO_PID" 5
[ "$RC" = "0" ] || fail "close request: exit code $RC"
DEMO_PID=""
[ "$(ls -A "$run")" = "data.dat" ] || fail "after exit the run folder holds: $(ls -A "$run")"
[ "$(cat "$outside")" = "outside, keep" ] || fail "the removal at exit removed or changed a target"
echo "exit: the names are gone, the file outside stays"
echo "1 passed, 0 failed"
