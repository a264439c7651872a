#!/usr/bin/env bash
# The game's art read from Data/: without the ball mesh the game stops at start-up with status 1
# and the reader's message; with a damaged ball texture it says so and plays on, that ball
# untextured.
# Usage: assets.sh POOL   (run from the build folder, which holds Data/)
POOL=$1
. "$(dirname "$0")/lib.sh"

start_display 800x600

mkdir -p "$WORK/no-mesh/Data"
cp -r Data/. "$WORK/no-mesh/Data/"
rm "$WORK/no-mesh/Data/ball.obj"
status=0
(cd "$WORK/no-mesh" && exec "$POOL" >"$WORK/no-mesh.out" 2>"$WORK/no-mesh.err") || status=$?
[ "$status" -eq 1 ] || fail "without the mesh the game ended with status $status"
grep -qx 'glmReadOBJ() failed: can'"'"'t open data file "Data/ball.obj".' "$WORK/no-mesh.err" ||
  fail "no reader's message; error stream: $(cat "$WORK/no-mesh.err")"

mkdir -p "$WORK/bad-texture/Data"
cp -r Data/. "$WORK/bad-texture/Data/"
head -c 40 Data/ball3.bmp >"$WORK/bad-texture/Data/ball3.bmp" # cut off inside its header
start_game "$WORK/bad-texture"
keys F8
wait_for "the strike" 30 not cue_shown struck
wait_for "the shot to end" 90 cue_shown after
quit_game
[ "$(head -n1 "$WORK/out")" = "Failed to read the bitmap file" ] ||
  fail "first line '$(head -n1 "$WORK/out")' instead of the bitmap message"
[ "$(grep -c 'Failed to read the bitmap file' "$WORK/out")" -eq 1 ] || fail "more than one bad texture"
sed -n 2p "$WORK/out" | grep -qx 'Ball  0 collided with ball    1' || fail "the break did not play"
echo "assets: missing mesh -> status 1 and the reader's message; bad texture -> message, game played"
