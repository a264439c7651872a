#!/usr/bin/env bash
# Two windows on one display play a network game over 127.0.0.1, the computer at both seats:
# both print the same contact lines for the whole game, and both records replay to the same
# winner. Killing the joining window in the middle of a shot of the next game leaves the host
# responsive: it says the other player is gone, and Escape ends it with status 0.
# Usage: network.sh POOL POOL_SIM   (run from the build folder, which holds Data/)
POOL=$1
POOL_SIM=$2
. "$(dirname "$0")/lib.sh"

PORT=$((30000 + $$ % 20000))
start_display 800x600
"$POOL" --mute --host "127.0.0.1:$PORT" --computer 1 --level 3 --record "$WORK/host.rec" \
  >"$WORK/host.out" 2>"$WORK/err" &
GAME_PID=$!
sleep 1
"$POOL" --mute --join "127.0.0.1:$PORT" --computer 2 --level 3 --record "$WORK/join.rec" \
  >"$WORK/join.out" 2>"$WORK/join.err" &
JOIN_PID=$!
OTHER_PIDS=$JOIN_PID
xdotool mousemove 400 300

# The first verdict with a winner in a record as pool-sim replays it (written out whole first: a
# reader that stops early would end pool-sim by a broken pipe).
winner() {
  "$POOL_SIM" --replay "$1" >"$1.replayed" 2>/dev/null || true
  grep -m1 'winner=[01]' "$1.replayed" || true
}
both_won() { [ -n "$(winner "$WORK/host.rec")" ] && [ -n "$(winner "$WORK/join.rec")" ]; }
wait_for "a whole game on both sides" 600 both_won
[ "$(winner "$WORK/host.rec")" = "$(winner "$WORK/join.rec")" ] ||
  fail "the winners differ: $(winner "$WORK/host.rec") and $(winner "$WORK/join.rec")"
# The game's contact lines, as the host's record has them to the win, printed alike by both.
"$POOL_SIM" --replay "$WORK/host.rec" >"$WORK/replayed"
sed '/winner=[01]/q' "$WORK/replayed" | grep collided >"$WORK/game"
GAME_LINES=$(wc -l <"$WORK/game")
[ "$GAME_LINES" -gt 20 ] || fail "only $GAME_LINES contacts in a whole game"
for side in host join; do
  head -n "$GAME_LINES" "$WORK/$side.out" | cmp -s - "$WORK/game" ||
    fail "the $side window printed other contacts than the record"
done

# The next game's break, struck by the host's computer: the joiner is killed while it plays.
# (One reader: a pipe whose reader stops at the first match could end the writer by a broken pipe.)
next_break() {
  awk '/^new 1/ { racked = 1 } racked && /^strike/ { struck = 1 } END { exit !struck }' \
    "$WORK/host.rec"
}
wait_for "the next game's break" 60 next_break
kill -9 "$JOIN_PID"
gone() { grep -q 'the network game ends: the other player left' "$WORK/err"; }
wait_for "the host to see the other player gone" 20 gone
kill -0 "$GAME_PID" || fail "the host ended with the other player"
quit_game
echo "network: a whole game in $GAME_LINES contacts alike on both sides; the host outlived the joiner"
