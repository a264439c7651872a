#!/usr/bin/env bash
# The installed game (what it installs is checked on the Debian package, tests/package_test.sh):
# `cmake --install` into a temporary prefix; the launcher, started through a link from another
# folder, runs the game there with the options it is given in GNU's forms: it shows the table
# with the cue in a window of class and title `pool` that carries the icon, and Escape ends it
# with status 0, leaving the sound file named relative to where it was started a whole WAV
# file, and the record beside it. A sound file that cannot be created, or no art, ends it with
# status 1 and says why. The manual pages format cleanly.
# Usage: install_test.sh BUILD_DIR
. "$(dirname "$0")/e2e/lib.sh"

PREFIX=$WORK/prefix
cmake --install "$1" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || fail "cmake --install: $(tail -n 5 "$WORK/install.log")"
grep -qx "Exec=$PREFIX/bin/pool" "$PREFIX/share/applications/pool.desktop" || fail "bad desktop entry"
for page in pool pool-sim; do
  groff -man -t -Tutf8 -ww "$PREFIX/share/man/man6/$page.6" 2>&1 >/dev/null | grep . &&
    fail "the manual page $page.6 warns"
done

mkdir -p "$WORK/elsewhere" "$WORK/links"
POOL=$WORK/links/pool WINDOW_NAME=pool # the launcher starts the game as `pool`
ln -s "$PREFIX/bin/pool" "$POOL"
# The launcher hands its options to the game: the version, and a refused value's pointer to the
# help.
"$POOL" --version | grep -qx 'pool [0-9]*\.[0-9]*\.[0-9]*' || fail "--version: $("$POOL" --version)"
status=$("$POOL" --level=4 2>"$WORK/refused"; echo $?)
[ "$status" -eq 2 ] && grep -qx "Try 'pool --help' for more information." "$WORK/refused" ||
  fail "--level=4: status $status, $(cat "$WORK/refused")"
start_display 800x600
NO_FILE=$WORK/no-such-folder/x.wav
status=$("$POOL" --sound-file "$NO_FILE" 2>"$WORK/no-file"; echo $?)
[ "$status" -eq 1 ] && grep -q "^pool: cannot record to $NO_FILE: " "$WORK/no-file" ||
  fail "an impossible sound file: status $status, $(cat "$WORK/no-file")"
start_game "$WORK/elsewhere" -m --sound-file=recorded.wav -r game.rec
cue_shown installed || fail "the installed game shows no table with the cue"
window_identified || fail "the window's class, title or icon: $(xprop -id "$WINDOW" WM_CLASS WM_NAME)"
quit_game
# The RIFF and data sizes in the header count the whole file, silence from the first frame on.
WAV=$WORK/elsewhere/recorded.wav
[ -f "$WAV" ] || fail "no sound file beside where the launcher started"
size=$(stat -c %s "$WAV")
riff=$(od -An -tu4 -j4 -N4 "$WAV" | tr -d ' ')
data=$(od -An -tu4 -j40 -N4 "$WAV" | tr -d ' ')
[ "$size" -gt 44 ] && [ "$riff" -eq $((size - 8)) ] && [ "$data" -eq $((size - 44)) ] ||
  fail "the sound file's header: $size bytes, RIFF size $riff, data size $data"
head -n 1 "$WORK/elsewhere/game.rec" 2>/dev/null | grep -qx 'pool-record 1' ||
  fail "no record beside where the launcher started"
mv "$PREFIX/share/pool/Data" "$PREFIX/share/pool/Data.away"
status=0
(cd "$WORK/elsewhere" && "$POOL" >"$WORK/no-data.out" 2>&1) || status=$?
[ "$status" -eq 1 ] && grep -q "the game's art is missing" "$WORK/no-data.out" ||
  fail "without its art the launcher ended with status $status: $(cat "$WORK/no-data.out")"
echo "install: the launcher played the installed game from elsewhere"
