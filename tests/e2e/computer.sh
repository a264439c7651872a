#!/usr/bin/env bash
# The computer player in the window. With --computer 2 the person breaks with F8 and the computer
# then shoots with no key pressed (while the person keeps the table, a weak F1 passes the turn).
# Escape ends the run with status 0. A whole unattended game is played in-process by the
# window-record test, through the same operations at chosen frame times.
# Usage: computer.sh POOL   (run from the build folder, which holds Data/)
POOL=$1
. "$(dirname "$0")/lib.sh"

lines() { wc -l <"$WORK/out"; }
more_lines_within() { timeout "$2" bash -c "until [ \$(wc -l <'$WORK/out') -gt $1 ]; do sleep 0.5; done"; }

start_display 800x600
start_game "$PWD" --computer 2
cue_shown start || fail "no cue at start-up"
keys F8
for attempt in 1 2 3 4 5; do
  wait_for "the cue to go at the person's shot" 10 not cue_shown moving
  wait_for "the person's shot to end" 90 cue_shown after
  # The computer's turn brings contacts without a key; the person's brings none.
  if more_lines_within "$(lines)" 25; then
    echo "computer: shot on its own after the person's shot $attempt"
    break
  fi
  [ "$attempt" -lt 5 ] || fail "the computer never shot"
  keys F1
done
quit_game
