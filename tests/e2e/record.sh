#!/usr/bin/env bash
# A game recorded in the window replays exactly: the break and a cut shot played with --record,
# then the record played by pool-sim and by the window's --replay, each printing the contact lines
# the game printed; Escape ends each run with status 0.
# Usage: record.sh POOL POOL_SIM   (run from the build folder, which holds Data/)
POOL=$1
POOL_SIM=$2
. "$(dirname "$0")/lib.sh"

start_display 800x600
start_game "$PWD" --mute --record "$WORK/game.rec"
cue_shown start || fail "no cue at start-up"
# The record is written out at each shot's end.
ended() { [ "$(grep -c '^end ' "$WORK/game.rec")" -ge "$1" ]; }
keys F8
wait_for "the break to end" 60 ended 1
repeat_key ctrl+Left 20 # the aim, or with ball in hand where it goes down
keys F5
wait_for "the second shot to end" 60 ended 2
quit_game
cp "$WORK/out" "$WORK/played"
[ "$(grep -c collided "$WORK/played")" -gt 20 ] || fail "too few contacts: $(cat "$WORK/played")"

"$POOL_SIM" --replay "$WORK/game.rec" >"$WORK/sim" || fail "pool-sim refused the record"
grep collided "$WORK/sim" | diff - "$WORK/played" >/dev/null || fail "pool-sim's contacts differ"
[ "$(grep -c playState "$WORK/sim")" -eq 2 ] || fail "pool-sim's verdicts: $(grep playState "$WORK/sim")"

start_game "$PWD" --mute --replay "$WORK/game.rec"
replayed() { [ "$(wc -l <"$WORK/out")" -ge "$(wc -l <"$WORK/played")" ]; }
wait_for "the replay to play both shots" 90 replayed
quit_game
diff "$WORK/out" "$WORK/played" >/dev/null || fail "the window's replay printed other contacts"
echo "record: $(grep -c collided "$WORK/played") contacts replayed alike by pool-sim and the window"
