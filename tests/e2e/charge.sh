#!/usr/bin/env bash
# A charged shot: the space bar held for two seconds under real key repeat gives one stroke and
# one strike whose power is the number of space events the window received (counted by a second
# client). The cue ball, aimed along -x where nothing is in its way, ends where a headless run of
# the same shot at that power puts it, as the overhead inset shows.
# Usage: charge.sh POOL POOL_KEY_COUNT POOL_SIM   (run from the build folder, which holds Data/)
POOL=$1
KEY_COUNT=$2
POOL_SIM=$3
. "$(dirname "$0")/lib.sh"

start_display 1920x1080
start_game "$PWD"
repeat_key alt+Right 3 # aim 90 degrees: along -x, away from the rack

"$KEY_COUNT" "$WINDOW" space >"$WORK/count" &
COUNTER_PID=$!
wait_for "the key counter" 10 grep -q ready "$WORK/count"
xdotool keydown space
sleep 2
xdotool keyup space
wait "$COUNTER_PID" || fail "the X server cannot report held keys without releases"
EVENTS=$(sed -n 2p "$WORK/count")
POWER=$((EVENTS < 100 ? EVENTS : 100))
[ "$EVENTS" -gt 10 ] || fail "only $EVENTS space events in two seconds: no key repeat?"

wait_for "the strike" 30 not cue_shown struck
wait_for "the shot to end" 60 cue_shown after
quit_game

# The inset spans -50..50 across (world -z) and 28 down to 28 - 100 H/W (world -x) over the
# upper-right quarter; the cue ball rolls along z = 22.
X0=$((WIDTH * 3 / 4))
INSET_H=$((HEIGHT / 4))
read -r CX CY COUNT < <(bright_centroid after $((X0 + 125)) 30 22 $((INSET_H - 40)) 110)
[ "$COUNT" -gt 5 ] || fail "no cue ball in the inset on z = 22"
MEASURED_X=$(awk -v cy="$CY" -v h="$INSET_H" -v w="$WIDTH" -v H="$HEIGHT" \
  'BEGIN { printf "%.2f", -(28 - cy / h * (100 * H / w)) }')
EXPECTED_X=$("$POOL_SIM" --angle 90 --power "$POWER" --dt 1/60 | awk '$1 == 0 { printf "%.2f", $3 }')
echo "charge: $EVENTS space events, cue ball at x = $MEASURED_X, headless run at power $POWER: $EXPECTED_X"
awk -v a="$MEASURED_X" -v b="$EXPECTED_X" 'BEGIN { d = a - b; exit !(d < 0.6 && d > -0.6) }' ||
  fail "the cue ball ended at x = $MEASURED_X, a shot of power $POWER ends at $EXPECTED_X"
# One strike: the contacts are those of the one shot at that power.
"$POOL_SIM" --angle 90 --power "$POWER" --dt 1/60 | grep collided >"$WORK/expected"
diff "$WORK/expected" "$WORK/out" >&2 || fail "the contacts differ from one shot at power $POWER"
