#!/usr/bin/env bash
# Builds the game with its generated art and starts it from the folder that holds Data/.
# Without a display (or with --headless) it plays the break on a virtual display instead, saves
# screenshots of the start, the middle and the end of the shot, and prints the contacts.
# Usage: scripts/play.sh [--headless [SCREENSHOT_FOLDER]]   (POOL_BUILD_DIR: default build/release)
set -euo pipefail
shots=${2:+$(realpath -m "$2")} # from where the script was called
cd "$(dirname "$0")/.."
root=$PWD

build=${POOL_BUILD_DIR:-build/release}
scripts/deps.sh # xdotool among the rest
headless=false
reason="as asked"
if [ "${1:-}" = "--headless" ]; then
  headless=true
elif ! xdotool getdisplaygeometry >/dev/null 2>&1; then
  headless=true
  reason="as there is no display to play on"
fi
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target pool
cd "$build"
if ! $headless; then exec src/app/pool; fi

POOL=$PWD/src/app/pool
SHOTS=${shots:-$PWD/first-run}
. "$root/tests/e2e/lib.sh"

echo "Playing the break (F8) on a virtual 800x600 display, $reason."
start_display 800x600
start_game "$PWD"
shot start
keys F8
wait_for "the strike" 10 not cue_shown moving
sleep 1
shot mid-shot
wait_for "the balls to stop" 120 cue_shown end
quit_game
rm -f "$SHOTS/first.png" "$SHOTS/moving.png" # the probes of the first frame and the strike

echo
echo "Contacts of the break ($(wc -l <"$WORK/out") lines):"
cat "$WORK/out"
echo
echo "Screenshots of the start, the middle and the end of the shot:"
for name in start mid-shot end; do echo "  $SHOTS/$name.png"; done
echo
echo "To play yourself, run scripts/play.sh on a desktop, where DISPLAY names your X display"
echo "(or over ssh -X), and break with the space bar or F8."
