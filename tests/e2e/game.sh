#!/usr/bin/env bash
# A game played at the keyboard: a scratch gives the other player ball in hand on the placement
# screen, a spot on the apex ball is refused (the refusal shows until the next redraw), a free
# spot is accepted; F11 and a shot that drops the eight end the game with the winner banner;
# F10 brings back the opening picture exactly; Escape ends the game with status 0.
# Usage: game.sh POOL WIDTHxHEIGHT   (run from the build folder, which holds Data/)
POOL=$1
SHOTS=$PWD/e2e-shots/game-$2
. "$(dirname "$0")/lib.sh"

start_display "$2"
start_game "$PWD"

# Aim 135 degrees (towards the corner pocket behind the cue ball) and scratch.
repeat_key alt+Right 4
repeat_key ctrl+Right 15
keys F7
wait_for "ball in hand after the scratch" 30 placement_shown placement

# The refusal lines sit in the middle of the screen, left of the rack.
refusal_pixels() { bright_pixels "$1" $((WIDTH / 16)) $((HEIGHT / 2 - 45)) 480 53; }
# Onto the apex ball at (0, -22): refused.
keys alt+Right
repeat_key ctrl+Right 14
keys Return
sleep 1
shot refused
placement_shown refused || fail "a refused spot left the placement screen"
BEFORE=$(refusal_pixels placement)
SHOWN=$(refusal_pixels refused)
[ "$SHOWN" -gt $((BEFORE + 300)) ] || fail "no refusal on the screen ($SHOWN bright pixels, $BEFORE before)"
keys Up
sleep 1
shot refusal-gone
[ "$(refusal_pixels refusal-gone)" -lt $((BEFORE + 100)) ] || fail "the refusal outlived the next redraw"

# To the free spot (7.5, -19), in line with the eight and the far corner pocket.
keys Down
repeat_key ctrl+Down 15
repeat_key ctrl+Left 6
keys Return
wait_for "aiming after the placement" 10 cue_shown placed

# Every object ball but the eight pocketed, then the eight dropped: the game is over.
keys F11
repeat_key alt+Left 3
repeat_key ctrl+Right 4
keys F7
banner_shown() {
  shot "$1"
  [ "$(bright_pixels "$1" $((WIDTH / 4)) $((HEIGHT * 3 / 8)) 400 60)" -gt 400 ]
}
wait_for "the winner banner" 60 banner_shown over

keys F10
sleep 1
shot new-game
compare -metric AE "$SHOTS/first.png" "$SHOTS/new-game.png" null: 2>"$WORK/diff" ||
  fail "F10 did not bring back the opening picture ($(cat "$WORK/diff") pixels differ)"
quit_game

grep -q '^Ball  0 collided with pocket' "$WORK/out" || fail "no scratch in the contacts"
grep -q '^Ball  8 collided with pocket' "$WORK/out" || fail "the eight never dropped"
echo "game at $2: refusal $SHOWN bright pixels (from $BEFORE), banner shown, new game identical"
