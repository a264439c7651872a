#!/usr/bin/env bash
# Hostile starts: with standard input, output or error closed, with its output piped into a
# reader that leaves after one line, the game still plays and Escape ends it with status 0; a
# missing or empty ball mesh ends the start-up with status 1 and says why; each damaged texture
# is named on the error stream with the reason.
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

# Standard input closed, and five damaged ball textures.
copy_data bad-art
rm "$WORK/bad-art/Data/ball1.bmp"
head -c 40 Data/ball2.bmp >"$WORK/bad-art/Data/ball2.bmp"
# Offsets into the info header: 18 width, 28 bits per pixel, 30 compression.
printf '\x20\x00' | dd of="$WORK/bad-art/Data/ball3.bmp" bs=1 seek=28 conv=notrunc status=none
printf '\x01' | dd of="$WORK/bad-art/Data/ball4.bmp" bs=1 seek=30 conv=notrunc status=none
printf '\xff\xff\xff\xff' | dd of="$WORK/bad-art/Data/ball5.bmp" bs=1 seek=18 conv=notrunc status=none
REDIRECTIONS='<&- >"$WORK/out" 2>"$WORK/err"' start_game "$WORK/bad-art"
play_break
quit_game
[ "$(grep -cx 'Failed to read the bitmap file' "$WORK/out")" -eq 5 ] ||
  fail "not five bitmap failures on standard output: $(head -n 8 "$WORK/out")"
grep '^Cannot read the texture' "$WORK/err" | sort >"$WORK/err.sorted"
diff - "$WORK/err.sorted" >&2 <<'EOF' || fail "the texture messages differ"
Cannot read the texture Data/ball1.bmp: the file is missing.
Cannot read the texture Data/ball2.bmp: the file is too short.
Cannot read the texture Data/ball3.bmp: not 24 bits per pixel.
Cannot read the texture Data/ball4.bmp: compressed.
Cannot read the texture Data/ball5.bmp: sizes out of range.
EOF

# Standard output closed: the contact lines reach the descriptor once a buffer is full.
REDIRECTIONS='>&- 2>"$WORK/err"' start_game "$PWD"
for _ in $(seq "$BREAKS_TO_WRITE"); do play_break; done
quit_game

# Standard error closed: the missing font is reported there at start-up.
copy_data no-font
rm "$WORK/no-font/Data/default.txf"
REDIRECTIONS='>"$WORK/out" 2>&-' start_game "$WORK/no-font"
play_break
quit_game

# Piped into a reader that leaves after the first line: the game plays on and ends normally.
mkfifo "$WORK/pipe"
head -n 1 <"$WORK/pipe" >"$WORK/head" &
HEAD_PID=$!
REDIRECTIONS='>"$WORK/pipe" 2>"$WORK/err"' start_game "$PWD"
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

# No ball mesh at all: the reader says so and the start-up ends the same way.
rm "$WORK/empty-mesh/Data/ball.obj"
status=0
(cd "$WORK/empty-mesh" && exec timeout 60 "$POOL" >"$WORK/out" 2>"$WORK/err") || status=$?
[ "$status" -eq 1 ] || fail "without the mesh the game ended with status $status"
grep -qx 'glmReadOBJ() failed: can'"'"'t open data file "Data/ball.obj".' "$WORK/err" ||
  fail "no reader's message; error stream: $(cat "$WORK/err")"

echo "robust: closed descriptors, a closed pipe, a missing or empty mesh and damaged textures handled"
