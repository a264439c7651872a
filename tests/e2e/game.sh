#!/usr/bin/env bash
# One game at the keyboard on an 800x600 virtual display: the space bar held under key repeat
# strikes once, dropping the cue ball into the corner pocket behind it; ball in hand refuses the
# apex ball's spot (shown until the next redraw) and takes a free one; F11 and a shot on the eight
# bring the winner banner; F10 the opening picture; the break's contacts come through a pipe as
# the balls roll; Escape ends the game with status 0.
# Usage: game.sh POOL   (run from the build folder, which holds Data/)
POOL=$1
. "$(dirname "$0")/lib.sh"

start_display 800x600
start_game "$PWD"
cue_shown start || fail "no cue at start-up"
# Aim 135 degrees: Alt turns 30, Ctrl 1 and wins over Alt.
repeat_key alt+Right 4
repeat_key ctrl+alt+Right 15
xdotool keydown space sleep 3 keyup space
wait_for "ball in hand after the held-space shot" 60 placement_shown placement
[ "$(cat "$WORK/out")" = "Ball  0 collided with pocket 19" ] || fail "contacts: $(cat "$WORK/out")"

# The lifted ball moves half the arrow's degrees (Alt 15 units, Ctrl 0.5, alone or with Shift
# 0.25). The refusal's lines sit in the middle of the screen, left of the rack.
refusal() { shot "$1" && bright_pixels "$1" 50 255 480 53; }
BEFORE=$(refusal placement)
refused() { placement_shown "$1" && [ "$(refusal "$1")" -gt $((BEFORE + 300)) ]; }
gone() { [ "$(refusal "$1")" -lt $((BEFORE + 100)) ]; }
keys alt+Right
repeat_key ctrl+Right 14 # onto the apex ball at (0, -22)
keys Return
wait_for "the refusal" 10 refused refused
keys shift+Up
wait_for "the refusal to go at the next redraw" 10 gone refusal-gone
keys Down
repeat_key ctrl+Down 15
repeat_key ctrl+Left 6 # to (7.5, -19), in line with the eight and the far corner pocket
keys Return
wait_for "aiming after the placement" 10 cue_shown placed
keys F11
repeat_key alt+Left 3
repeat_key ctrl+Right 4
keys F7
# Player 2 wins: F11 cleared both groups, so the groups the shot assigns are both done. The
# banner is in the winner's colour, yellow.
wait_for "the winner banner" 60 banner_shown over
keys F10
opening() { shot "$1" && compare -metric AE "$SHOTS/first.png" "$SHOTS/$1.png" null: 2>/dev/null; }
wait_for "the opening picture after F10" 10 opening new-game

# The break: its first contact is in the output before the cue shows again.
SHOT_LINES=$(wc -l <"$WORK/out")
keys F8
first_contact() { [ "$(wc -l <"$WORK/out")" -gt "$SHOT_LINES" ] && not cue_shown rolling; }
wait_for "the break's first contact while the balls roll" 30 first_contact
sed -n "$((SHOT_LINES + 1))p" "$WORK/out" | grep -qx 'Ball  0 collided with ball    1' ||
  fail "the break's first contact: $(sed -n "$((SHOT_LINES + 1))p" "$WORK/out")"
wait_for "the break to end in aiming" 90 cue_shown after
quit_game

# Started with no arguments at all, without a display, it calls itself pool as it says so.
(env -u DISPLAY perl -e 'exec { $ARGV[0] } ()' "$POOL" 2>&1 || true) | grep -q '^pool: cannot open the X display' ||
  fail "started with no arguments, the game does not call itself pool"
echo "game: $(wc -l <"$WORK/out") contacts; refusal shown once; banner; new game as at start; break piped"
