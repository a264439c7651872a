#!/usr/bin/env bash
# The computer player in the window. "second": with --computer 2 the person breaks with F8 and
# the computer then shoots with no key pressed (the person shoots weakly again while they keep
# the table). "both": with --computer both a whole game is played unattended to the winner's
# banner. Escape then ends the game with status 0.
# Usage: computer.sh POOL second|both   (run from the build folder, which holds Data/)
POOL=$1
MODE=$2
# Both modes may run at once: each keeps its screenshots apart.
SHOTS=${SHOTS:-$PWD/e2e-shots/computer-$MODE}
. "$(dirname "$0")/lib.sh"

lines() { wc -l <"$WORK/out"; }
# The banner's first line, white or yellow, across the middle of the window's upper half.
banner_shown() {
  shot banner &&
    [ "$(BLUE_MIN=0 bright_pixels banner $((WIDTH / 4)) $((HEIGHT * 37 / 100)) $((WIDTH * 7 / 10)) $((HEIGHT / 10)))" -gt 150 ]
}

start_display 800x600
case $MODE in
second)
  start_game "$PWD" --computer 2
  cue_shown start || fail "no cue at start-up"
  keys F8
  for attempt in 1 2 3 4 5; do
    wait_for "the cue to disappear at the person's shot" 10 not cue_shown moving
    wait_for "the person's shot to end" 90 cue_shown after
    before=$(lines)
    # The computer's turn: contacts come without a key. The person's turn: nothing comes.
    if timeout 25 bash -c "until [ \$(wc -l <'$WORK/out') -gt $before ]; do sleep 0.5; done"; then
      echo "computer: shot on its own after the person's shot $attempt"
      quit_game
      exit 0
    fi
    keys F1
  done
  fail "the computer never shot"
  ;;
both)
  start_game "$PWD" --computer both --level 3
  wait_for "the winner's banner" 600 banner_shown
  [ "$(lines)" -gt 20 ] || fail "only $(lines) contacts in a whole game"
  echo "computer: a whole game to the banner in $(lines) contacts"
  quit_game
  ;;
*) fail "mode '$MODE' is not second or both" ;;
esac
