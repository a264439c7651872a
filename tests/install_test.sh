#!/usr/bin/env bash
# The installed game: `cmake --install` into a temporary prefix puts the launcher, the game, its
# art, the desktop entry, the icons and the manual page in place. The launcher, started through
# a link from another folder, runs the game there: it shows the table with the cue, and Escape
# ends it with status 0. Without its art the launcher says so and ends with status 1.
# Usage: install_test.sh BUILD_DIR
. "$(dirname "$0")/e2e/lib.sh"

PREFIX=$WORK/prefix
cmake --install "$1" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || fail "cmake --install: $(tail -n 5 "$WORK/install.log")"
for file in libexec/pool/pool share/pool/Data/ball.obj share/pool/Data/default.txf; do
  [ -s "$PREFIX/$file" ] || fail "not installed: $file"
done
for size in 48 128 256; do
  [ "$(identify -format '%wx%h %[channels]' "$PREFIX/share/icons/hicolor/${size}x$size/apps/pool.png")" = \
    "${size}x$size srgba" ] || fail "no ${size}x$size icon with alpha"
done
DESKTOP=$PREFIX/share/applications/pool.desktop
grep -qx "Exec=$PREFIX/bin/pool" "$DESKTOP" && desktop-file-validate "$DESKTOP" || fail "bad desktop entry"
zcat "$PREFIX/share/man/man6/pool.6.gz" | groff -man -t -Tutf8 -ww 2>&1 >/dev/null | grep . && fail "the manual page warns"

mkdir -p "$WORK/elsewhere" "$WORK/links"
POOL=$WORK/links/pool # the window is titled with the name the game was started by
ln -s "$PREFIX/bin/pool" "$POOL"
start_display 800x600
start_game "$WORK/elsewhere"
cue_shown installed || fail "the installed game shows no table with the cue"
quit_game
mv "$PREFIX/share/pool/Data" "$PREFIX/share/pool/Data.away"
status=0
(cd "$WORK/elsewhere" && "$POOL" >"$WORK/no-data.out" 2>&1) || status=$?
[ "$status" -eq 1 ] && grep -q "the game's art is missing" "$WORK/no-data.out" ||
  fail "without its art the launcher ended with status $status: $(cat "$WORK/no-data.out")"
echo "install: launcher, game, art, desktop entry, icons and manual page installed; game played"
