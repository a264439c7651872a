#!/usr/bin/env bash
# The Debian packages, built as a packager would from a copy of the source with
# `dpkg-buildpackage -us -uc -b` (without the build-time checks, which the other tests run, to
# keep it under a minute or so): lintian --pedantic finds no error or warning in them or in the
# source package; the binaries are hardened; pool holds the commands in /usr/games, the game in
# /usr/libexec/pool, the desktop entry, the manual pages and a valid AppStream file, and
# pool-data, for every architecture, the art and the icons. Installed (unpacked when not root),
# the launcher runs the game from another folder, refuses a bad option with status 2, and
# purging leaves no file behind.
# Usage: package_test.sh SOURCE_DIR VERSION
SOURCE=$1
VERSION=$2
. "$(dirname "$0")/e2e/lib.sh"
INSTALLED=0
# A failed run purges what it installed, as a passing one does.
trap '[ $INSTALLED = 0 ] || dpkg --purge pool pool-data >/dev/null 2>&1; cleanup' EXIT

(cd "$SOURCE" && dpkg-checkbuilddeps) 2>"$WORK/builddeps" || fail "$(cat "$WORK/builddeps")"
mkdir -p "$WORK/src/pool"
git -C "$SOURCE" ls-files -co --exclude-standard | (cd "$SOURCE" && tar -cf - -T -) |
  tar -xf - -C "$WORK/src/pool"
(cd "$WORK/src" && dpkg-source -b pool) >"$WORK/build.log" 2>&1 || fail "dpkg-source: $(tail -n 5 "$WORK/build.log")"
(cd "$WORK/src/pool" && DEB_BUILD_OPTIONS="nocheck parallel=2" dpkg-buildpackage -us -uc -b) \
  >"$WORK/build.log" 2>&1 || fail "dpkg-buildpackage: $(tail -n 20 "$WORK/build.log")"
DEB=$WORK/src/pool_${VERSION}_amd64.deb
DATA_DEB=$WORK/src/pool-data_${VERSION}_all.deb
[ -s "$DEB" ] && [ -s "$DATA_DEB" ] || fail "no $DEB or $DATA_DEB (does debian/changelog say $VERSION?)"

lintian --pedantic "$WORK/src/pool_$VERSION.dsc" "$WORK/src/pool_${VERSION}_amd64.changes" \
  >"$WORK/lintian" 2>&1
grep '^[EW]: ' "$WORK/lintian" && fail "lintian reports errors or warnings"

depends=$(dpkg-deb -f "$DEB" Depends)
for dependency in "pool-data (= $VERSION)" libsdl2 libglut libpng libc6; do
  [[ $depends == *$dependency* ]] || fail "no $dependency among the dependencies: $depends"
done
[ "$(dpkg-deb -f "$DATA_DEB" Architecture)" = all ] || fail "pool-data is not for every architecture"
files() { dpkg-deb -c "$1" | awk '{print substr($6, 2)}'; }
files "$DEB" >"$WORK/files"
files "$DATA_DEB" >"$WORK/data-files"
for file in /usr/games/pool /usr/games/pool-sim /usr/libexec/pool/pool \
            /usr/share/applications/pool.desktop /usr/share/man/man6/pool.6.gz \
            /usr/share/man/man6/pool-sim.6.gz /usr/share/doc/pool/copyright; do
  grep -qx "$file" "$WORK/files" || fail "not in pool: $file"
done
for file in /usr/share/games/pool/Data/ball.obj /usr/share/games/pool/Data/default.txf \
            /usr/share/games/pool/Data/icon.png /usr/share/icons/hicolor/48x48/apps/pool.png \
            /usr/share/icons/hicolor/256x256/apps/pool.png; do
  grep -qx "$file" "$WORK/data-files" || fail "not in pool-data: $file"
done
metainfo=$(grep -x '/usr/share/metainfo/.*\.metainfo\.xml' "$WORK/files") ||
  fail "no AppStream metainfo in the package"

# Installed for real as root, as a user would; unpacked into a folder otherwise.
ROOT=$WORK/root
if [ "$(id -u)" -eq 0 ] && ! dpkg-query -W pool pool-data >/dev/null 2>&1; then
  ROOT="" INSTALLED=1
  dpkg -i "$DEB" "$DATA_DEB" >"$WORK/dpkg.log" 2>&1 || fail "dpkg -i: $(tail -n 5 "$WORK/dpkg.log")"
else
  dpkg-deb -x "$DEB" "$ROOT" && dpkg-deb -x "$DATA_DEB" "$ROOT"
fi
# Bind-now and read-only relocations, a stack protector and fortified calls in both binaries.
for binary in "$ROOT/usr/libexec/pool/pool" "$ROOT/usr/games/pool-sim"; do
  elf=$(readelf -d -lW --dyn-syms "$binary")
  grep -q 'FLAGS.*BIND_NOW' <<<"$elf" && grep -q GNU_RELRO <<<"$elf" &&
    grep -q '__stack_chk_fail' <<<"$elf" && grep -q '__[a-z]*_chk@' <<<"$elf" ||
    fail "$binary is not hardened"
done
appstreamcli validate --pedantic --no-net "$ROOT$metainfo" >"$WORK/appstream.log" 2>&1
grep '^[EW]: ' "$WORK/appstream.log" && fail "the metainfo does not validate cleanly"
desktop=$ROOT/usr/share/applications/pool.desktop
grep -qx "Exec=/usr/games/pool" "$desktop" && grep -qx "StartupWMClass=pool" "$desktop" ||
  fail "the desktop entry does not start /usr/games/pool in a window of class pool"
desktop-file-validate "$desktop" || fail "invalid desktop entry"

POOL=$ROOT/usr/games/pool WINDOW_NAME=pool
mkdir -p "$WORK/elsewhere"
status=$("$POOL" --no-such-option 2>/dev/null; echo $?)
[ "$status" -eq 2 ] || fail "a bad option ended the packaged game with status $status"
start_display 800x600
start_game "$WORK/elsewhere" --mute
cue_shown packaged || fail "the packaged game shows no table with the cue"
window_identified || fail "the window's class, title or icon: $(xprop -id "$WINDOW" WM_CLASS WM_NAME)"
quit_game
[ -z "$(ls -A "$WORK/elsewhere")" ] || fail "the game left files where it started: $(ls "$WORK/elsewhere")"

if [ -z "$ROOT" ]; then
  INSTALLED=0
  dpkg --purge pool pool-data >"$WORK/dpkg.log" 2>&1 || fail "dpkg --purge: $(tail -n 5 "$WORK/dpkg.log")"
  left=$(cat "$WORK/files" "$WORK/data-files" | grep -e '/pool' -e 'pool\.' | while read -r f; do
    [ ! -e "$f" ] || echo "$f"; done)
  [ -z "$left" ] || fail "purged, the packages left: $left"
fi
echo "package: $(basename "$DEB") and $(basename "$DATA_DEB"), lintian --pedantic clean," \
  "depends on $depends; the game played ${ROOT:+unpacked}${ROOT:-installed and purged}"
