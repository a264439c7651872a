#!/usr/bin/env bash
# The Debian package: cpack builds pool_<version>_amd64.deb with its dependencies worked out from
# the binaries; its file list holds the launcher, the game, the art, the desktop entry, the
# icons, the manual page and a valid AppStream metainfo file; unpacked into a temporary folder,
# its launcher starts the game, which Escape ends.
# Usage: package_test.sh BUILD_DIR VERSION
BUILD=$1
VERSION=$2
. "$(dirname "$0")/e2e/lib.sh"

(cd "$BUILD" && cpack -G DEB -B "$WORK/package") >"$WORK/cpack.log" 2>&1 ||
  fail "cpack failed: $(tail -n 5 "$WORK/cpack.log")"
DEB=$WORK/package/pool_${VERSION}_amd64.deb
[ -s "$DEB" ] || fail "no $DEB"
depends=$(dpkg-deb -f "$DEB" Depends)
for library in libsdl2 libglut libc6; do
  [[ $depends == *$library* ]] || fail "no $library among the dependencies: $depends"
done
dpkg-deb -c "$DEB" | awk '{print $6}' >"$WORK/files"
for file in usr/bin/pool usr/libexec/pool/pool usr/share/pool/Data/ball.obj \
            usr/share/pool/Data/default.txf usr/share/applications/pool.desktop \
            usr/share/icons/hicolor/48x48/apps/pool.png usr/share/icons/hicolor/128x128/apps/pool.png \
            usr/share/icons/hicolor/256x256/apps/pool.png \
            usr/share/man/man6/pool.6.gz usr/share/doc/pool/copyright; do
  grep -qx "./$file" "$WORK/files" || fail "not in the package: $file"
done
metainfo=$(grep -x './usr/share/metainfo/.*\.metainfo\.xml' "$WORK/files") ||
  fail "no AppStream metainfo in the package"

ROOT=$WORK/root
dpkg-deb -x "$DEB" "$ROOT"
appstreamcli validate --no-net "$ROOT/$metainfo" >"$WORK/appstream.log" 2>&1 ||
  fail "the metainfo does not validate: $(cat "$WORK/appstream.log")"
grep -q '<screenshot' "$ROOT/$metainfo" && grep -q '<description>' "$ROOT/$metainfo" ||
  fail "the metainfo has no screenshot or no description"
grep -qx "Exec=/usr/bin/pool" "$ROOT/usr/share/applications/pool.desktop" ||
  fail "the desktop entry does not start /usr/bin/pool"
desktop-file-validate "$ROOT/usr/share/applications/pool.desktop" || fail "invalid desktop entry"

mkdir -p "$WORK/elsewhere"
POOL=$ROOT/usr/bin/pool
start_display 800x600
start_game "$WORK/elsewhere"
cue_shown unpacked || fail "the unpacked game shows no table with the cue"
quit_game
echo "package: $(basename "$DEB") ($(stat -c %s "$DEB") bytes), depends on $depends; unpacked game played"
