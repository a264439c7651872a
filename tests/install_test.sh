#!/usr/bin/env bash
# The installed game: `cmake --install` into a temporary prefix puts the launcher, the game, its
# art, the desktop entry, the icons and the manual page in place. The launcher, started through
# a link from another folder, runs the game there: it shows the table with the cue, and Escape
# ends it with status 0. Without its art the launcher says so and ends with status 1.
# Usage: install_test.sh BUILD_DIR
BUILD=$1
. "$(dirname "$0")/e2e/lib.sh"

PREFIX=$WORK/prefix
cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 ||
  fail "cmake --install failed: $(tail -n 5 "$WORK/install.log")"
for file in bin/pool libexec/pool/pool share/pool/Data/ball.obj share/pool/Data/default.txf \
            share/applications/pool.desktop share/man/man6/pool.6.gz; do
  [ -s "$PREFIX/$file" ] || fail "not installed: $file"
done
[ -x "$PREFIX/bin/pool" ] || fail "the launcher is not executable"
for size in 48 128 256; do
  icon=$PREFIX/share/icons/hicolor/${size}x${size}/apps/pool.png
  [ "$(identify -format '%wx%h %[channels]' "$icon" 2>/dev/null)" = "${size}x${size} srgba" ] ||
    fail "icon $icon is not a ${size}x${size} PNG with alpha"
done
grep -qx "Exec=$PREFIX/bin/pool" "$PREFIX/share/applications/pool.desktop" ||
  fail "the desktop entry does not start the installed launcher"
desktop-file-validate "$PREFIX/share/applications/pool.desktop" || fail "invalid desktop entry"
zcat "$PREFIX/share/man/man6/pool.6.gz" | groff -man -t -Tutf8 -ww >/dev/null 2>"$WORK/man.err" &&
  [ ! -s "$WORK/man.err" ] || fail "the manual page does not format cleanly: $(cat "$WORK/man.err")"

mkdir -p "$WORK/elsewhere" "$WORK/links"
ln -s "$PREFIX/bin/pool" "$WORK/links/pool"
POOL=$WORK/links/pool # the window is titled with the name the game was started by
start_display 800x600
start_game "$WORK/elsewhere"
cue_shown installed || fail "the installed game shows no table with the cue"
quit_game

mv "$PREFIX/share/pool/Data" "$PREFIX/share/pool/Data.away"
status=0
(cd "$WORK/elsewhere" && "$POOL" >"$WORK/no-data.out" 2>&1) || status=$?
[ "$status" -eq 1 ] || fail "without its art the launcher ended with status $status"
grep -q "the game's art is missing" "$WORK/no-data.out" || fail "no message without the art"
echo "install: launcher, game, art, desktop entry, icons and manual page installed; game played"
