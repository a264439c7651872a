#!/usr/bin/env bash
# The break with F8: the first contact is the cue ball on the apex ball, the shot plays out in
# real time and ends back in aiming; Escape then ends the game with status 0.
# Usage: break.sh POOL   (run from the build folder, which holds Data/)
POOL=$1
. "$(dirname "$0")/lib.sh"

start_display 800x600
start_game "$PWD"
cue_shown start || fail "no cue at start-up"
keys F8
wait_for "the cue to disappear at the strike" 10 not cue_shown moving
wait_for "the shot to end in aiming" 90 cue_shown after
quit_game
[ "$(head -n1 "$WORK/out")" = "Ball  0 collided with ball    1" ] ||
  fail "first line: '$(head -n1 "$WORK/out")'"
[ "$(wc -l <"$WORK/out")" -gt 20 ] || fail "only $(wc -l <"$WORK/out") contacts on the break"
CONTACT='^Ball [ 0-9][0-9] collided with (ball   |pocket |wall   |corner )[ 0-9][0-9]$'
if grep -qvE "$CONTACT" "$WORK/out"; then
  fail "a line that is not a contact: '$(grep -vE "$CONTACT" "$WORK/out" | head -n1)'"
fi
echo "break: $(wc -l <"$WORK/out") contacts, first '$(head -n1 "$WORK/out")'"
