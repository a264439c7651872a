#!/usr/bin/env bash
# Sound in the real game. Without an audio device the break plays as ever and the game says
# once that it plays without sound; with SDL's disk-writing driver the break is written out;
# --mute opens no device at all.
# Usage: sound.sh POOL   (run from the build folder, which holds Data/)
GAME=$1
. "$(dirname "$0")/lib.sh"
POOL=$WORK/pool # a launcher that passes the test's options; the window is titled by its path
printf '#!/bin/bash\nexec -a "$0" "%s" $POOL_TEST_OPTIONS "$@"\n' "$GAME" >"$POOL"
chmod +x "$POOL"

# F8, then the shot played out to aiming.
break_and_quit() {
  start_game "$PWD"
  keys F8
  wait_for "the cue to disappear at the strike" 10 not cue_shown moving
  wait_for "the shot to end in aiming" 90 cue_shown after
  quit_game
}

start_display 800x600
export POOL_TEST_OPTIONS="" SDL_AUDIODRIVER=no-such-driver
break_and_quit
[ "$(grep -c 'playing without sound' "$WORK/err")" -eq 1 ] ||
  fail "not one line on the missing device: $(cat "$WORK/err")"
[ "$(head -n1 "$WORK/out")" = "Ball  0 collided with ball    1" ] && [ "$(wc -l <"$WORK/out")" -gt 20 ] ||
  fail "the break's contact lines changed without sound: $(head -n3 "$WORK/out")"
silent_lines=$(wc -l <"$WORK/out")

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$WORK/break.raw
break_and_quit
grep -q 'playing without sound' "$WORK/err" && fail "sound was off with the disk driver"
[ -s "$WORK/break.raw" ] || fail "nothing was written by the disk driver"
# od prints the 16-bit samples; any that is not 0 is sound.
od -An -v -td2 -w2 "$WORK/break.raw" | awk '$1 != 0 { n++ } END { exit n == 0 }' ||
  fail "the recording of the break is silent"

export POOL_TEST_OPTIONS=--mute SDL_DISKAUDIOFILE=$WORK/muted.raw
break_and_quit
[ ! -e "$WORK/muted.raw" ] || fail "--mute opened the audio device"
grep -q 'sound' "$WORK/err" && fail "--mute still spoke of sound: $(cat "$WORK/err")"
echo "sound: silent without a device ($silent_lines contact lines), recorded with the disk driver, none with --mute"
