#!/usr/bin/env bash
# A game played with the mouse in an 800x600 window on a larger screen: drags turn the aim (finer
# with Ctrl held at the press), a pull and push strikes the cue ball into the corner pocket behind
# it, a click on the apex ball is refused and one on a free spot places the ball in hand, and after
# F11 a mouse shot pots the eight for the win. The record holds what the mouse did and replays in
# pool-sim to the same contacts.
# Usage: mouse.sh POOL POOL_SIM   (run from the build folder, which holds Data/)
POOL=$1
POOL_SIM=$2
. "$(dirname "$0")/lib.sh"

start_display 1024x768
WIDTH=800 HEIGHT=600 # the window's, in the screen's top left corner: the probes look into it
# The window's lower-right corner is drawn and the screen beyond it stays black.
frame_drawn() {
  shot first
  set -- $(region_mean first 720 540 80 60) $(region_mean first 820 620 200 140)
  [ $(($1 + $2 + $3)) -gt 30 ] && [ $(($4 + $5 + $6)) -eq 0 ]
}
start_game "$PWD" --mute --window --record "$WORK/game.rec"
cue_shown start || fail "no cue at start-up"
# A tenth of a degree a pixel, a fiftieth with Ctrl: 100 + 25 + 10 degrees.
xdotool mousemove 10 300 mousedown 1 mousemove 1010 300 mouseup 1
xdotool mousemove 10 300 mousedown 1 mousemove 260 300 mouseup 1
xdotool keydown ctrl mousemove 100 300 mousedown 1 mousemove 600 300 mouseup 1 keyup ctrl
# Pulled 100 pixels down (12 of slack, then 150 to full power): 58; then forward past the start.
xdotool mousemove 400 300 mousedown 1 mousemove 400 400 mousemove 400 250 mouseup 1
wait_for "ball in hand after the mouse's shot" 60 placement_shown placement
[ "$(cat "$WORK/out")" = "Ball  0 collided with pocket 19" ] || fail "contacts: $(cat "$WORK/out")"

# Eight pixels a unit across the table seen from above: the apex ball at (0, -22), then (7.5, -19).
xdotool mousemove 576 224 click 1
sleep 1
placement_shown refused || fail "the ball in hand was placed on the apex ball"
xdotool mousemove 552 284 click 1
wait_for "aiming after the placement" 10 cue_shown placed
keys F11
# 86 degrees back, to 49: a drag starts in the window and may leave it.
xdotool mousemove 790 300 mousedown 1 mousemove 10 300 mouseup 1
xdotool mousemove 90 300 mousedown 1 mousemove 10 300 mouseup 1
xdotool mousemove 400 300 mousedown 1 mousemove 400 373 mousemove 400 250 mouseup 1 # power 40
wait_for "the winner banner" 60 banner_shown over
quit_game

# The record's aims, each run of turns to where it ended, its placements and strikes.
events=$(grep -E '^(aim|place|strike)' "$WORK/game.rec" | sed 's/ at=.*//' |
  awk '$1 == "aim" { aim = $0; next } { if (aim) print aim; aim = ""; print }' | xargs)
[ "$events" = "aim 135 strike 1 58 place 7.5 -19 aim 49 strike 2 40" ] || fail "record: $events"
"$POOL_SIM" --replay "$WORK/game.rec" | grep collided | diff - "$WORK/out" >/dev/null ||
  fail "pool-sim's replay of the mouse's game differs"
echo "mouse: aimed, struck, refused and placed, won; $(wc -l <"$WORK/out") contacts replayed alike"
