#!/usr/bin/env bash
# The computer player in the window: with --computer both a whole game is played unattended to
# the winner's banner, and Escape then ends the game with status 0.
# Usage: computer.sh POOL   (run from the build folder, which holds Data/)
POOL=$1
. "$(dirname "$0")/lib.sh"

lines() { wc -l <"$WORK/out"; }
# The banner's first line, white or yellow, across the middle of the window's upper half.
banner_shown() {
  shot banner &&
    [ "$(BLUE_MIN=0 bright_pixels banner $((WIDTH / 4)) $((HEIGHT * 37 / 100)) $((WIDTH * 7 / 10)) $((HEIGHT / 10)))" -gt 150 ]
}

start_display 800x600
start_game "$PWD" --computer both --level 3
wait_for "the winner's banner" 600 banner_shown
[ "$(lines)" -gt 20 ] || fail "only $(lines) contacts in a whole game"
echo "computer: a whole game to the banner in $(lines) contacts"
quit_game
