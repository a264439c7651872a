#!/usr/bin/env bash
# One game played at the keyboard on an 800x600 virtual display: the space bar held under real
# key repeat gives one shot, strong enough to drop the cue ball into the corner pocket behind it;
# ball in hand refuses a spot on the apex ball (the refusal shows until the next redraw) and
# takes a free one; F11 and a shot that drops the eight end the game with the winner banner;
# F10 brings back the opening picture exactly; the break's contact lines come through a pipe
# while the balls still roll; Escape ends the game with status 0. Without a display the game
# says how to run it.
# Usage: game.sh POOL   (run from the build folder, which holds Data/)
POOL=$1
. "$(dirname "$0")/lib.sh"

start_display 800x600
start_game "$PWD"
cue_shown start || fail "no cue at start-up"
# Aim 135 degrees: Alt turns 30, Ctrl 1 and wins over Alt.
repeat_key alt+Right 4
repeat_key ctrl+alt+Right 15
xdotool keydown space
sleep 3
xdotool keyup space
# The placement screen shows no room: its top-left corner is the table's dark wooden rail.
placement_shown() {
  shot "$1"
  set -- $(region_mean "$1" 0 0 20 15)
  [ "$1" -lt 90 ] && [ "$2" -lt 70 ] && [ "$1" -ge "$3" ]
}
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
banner() { shot "$1" && [ "$(bright_pixels "$1" 200 225 400 60)" -gt 400 ]; }
wait_for "the winner banner" 60 banner over
keys F10
opening() { shot "$1" && compare -metric AE "$SHOTS/first.png" "$SHOTS/$1.png" null: 2>/dev/null; }
wait_for "the opening picture after F10" 10 opening new-game

# The break: its first contact is in the output before the cue shows again.
SHOT_LINES=$(wc -l <"$WORK/out")
keys F8
first_contact() { [ "$(wc -l <"$WORK/out")" -gt "$SHOT_LINES" ] && not cue_shown rolling; }
wait_for "the break's first contact while the balls roll" 30 first_contact
FIRST=$(sed -n "$((SHOT_LINES + 1))p" "$WORK/out")
[ "$FIRST" = "Ball  0 collided with ball    1" ] || fail "the break's first contact: '$FIRST'"
wait_for "the break to end in aiming" 90 cue_shown after
quit_game
grep -q '^Ball  8 collided with pocket' "$WORK/out" || fail "the eight never dropped"

# Without a display: one line on how to run the game named $1, status 1.
no_display() {
  local name=$1 status=0
  shift
  env -u DISPLAY "$@" >"$WORK/no-display" 2>&1 || status=$?
  [ "$status" -eq 1 ] && grep -qxF "$name: cannot open the X display \"\"; run it on a desktop, or \
under a virtual display: xvfb-run -a -s \"-screen 0 1920x1080x24\" $name" "$WORK/no-display"
}
no_display "$POOL" "$POOL" || fail "without a display: $(cat "$WORK/no-display")"
no_display pool perl -e 'exec { $ARGV[0] } ()' "$POOL" || # no arguments at all: it calls itself pool
  fail "started with no arguments: $(cat "$WORK/no-display")"
echo "game: $(wc -l <"$WORK/out") contacts; refusal shown once; banner; new game as at start; break piped"
