#!/usr/bin/env bash
# Hostile starts: with standard input, output or error closed, with its output piped into a
# reader that leaves after one line, without an audio device or its font, the game still plays
# and Escape ends it with status 0; without a device it says once that it plays without sound,
# and --mute opens none; an empty ball mesh ends the start-up with status 1 and says why (a
# missing one: assets_obj_test's death test).
# Usage: robust.sh POOL   (run from the build folder, which holds Data/)
POOL=$1
. "$(dirname "$0")/lib.sh"

# Standard output to a file or pipe is written 4096 bytes at a time; a break prints about 60
# contact lines of 32 bytes: three breaks reach the descriptor, whatever the buffering.
BREAKS_TO_WRITE=3

start_display 800x600

# A copy of Data/ in $WORK/$1/Data, to be damaged.
copy_data() {
  mkdir -p "$WORK/$1/Data"
  cp -r Data/. "$WORK/$1/Data/"
}

# The break of a new game, played to its end: about 60 contact lines.
play_break() {
  keys F10 F8
  wait_for "the strike" 30 not cue_shown struck
  wait_for "the break to end" 60 cue_shown after
}

# Standard input closed, and no audio device.
SDL_AUDIODRIVER=no-such-driver REDIRECTIONS='<&- >"$WORK/out" 2>"$WORK/err"' start_game "$PWD"
play_break
quit_game
[ "$(grep -c 'playing without sound' "$WORK/err")" -eq 1 ] ||
  fail "not one line on the missing audio device: $(cat "$WORK/err")"
[ "$(grep -m1 collided "$WORK/out")" = "Ball  0 collided with ball    1" ] ||
  fail "the break's contact lines changed without sound: $(head -n 8 "$WORK/out")"

# Standard output closed: the contact lines reach the descriptor once a buffer is full. Muted,
# the game opens not even the disk-writing audio driver and says nothing of sound.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$WORK/muted.raw REDIRECTIONS='>&- 2>"$WORK/err"' \
  start_game "$PWD" --mute
for _ in $(seq "$BREAKS_TO_WRITE"); do play_break; done
quit_game
[ ! -e "$WORK/muted.raw" ] || fail "--mute opened the audio device"
grep -q 'sound' "$WORK/err" && fail "--mute still spoke of sound: $(cat "$WORK/err")"

# Piped into a reader that leaves after the first line, standard error closed and the font
# missing (reported there at start-up): the game plays on and ends normally.
copy_data no-font
rm "$WORK/no-font/Data/default.txf"
mkfifo "$WORK/pipe"
head -n 1 <"$WORK/pipe" >"$WORK/head" &
HEAD_PID=$!
REDIRECTIONS='>"$WORK/pipe" 2>&-' start_game "$WORK/no-font"
for _ in $(seq "$BREAKS_TO_WRITE"); do
  [ -s "$WORK/head" ] || play_break
done
[ -s "$WORK/head" ] || fail "the reader got no line"
wait "$HEAD_PID"
play_break
quit_game
[ "$(cat "$WORK/head")" = "Ball  0 collided with ball    1" ] || fail "the reader got '$(cat "$WORK/head")'"

# An empty ball mesh: nothing could be seen, so the start-up ends.
copy_data empty-mesh
: >"$WORK/empty-mesh/Data/ball.obj"
status=0
(cd "$WORK/empty-mesh" && exec timeout 60 "$POOL" >"$WORK/out" 2>"$WORK/err") || status=$?
[ "$status" -eq 1 ] || fail "with an empty mesh the game ended with status $status"
grep -qx 'Cannot use the ball model Data/ball.obj: it holds no triangles.' "$WORK/err" ||
  fail "no message on the empty mesh; error stream: $(cat "$WORK/err")"

echo "robust: closed descriptors, a closed pipe, no audio device or font, --mute, a bad mesh handled"
