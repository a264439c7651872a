#!/usr/bin/env bash
# Builds the game, its tools and tests, and runs a test preset's tests under a virtual display.
# Usage: scripts/test.sh [PRESET]   (default release)
#   release   every test (labels unit, gl, e2e, package, bench) in the release build
#   sanitize  the sanitized build: every test but the end-to-end ones, which the release run has
#             played and which take many minutes under the sanitizers
#   unit, gl, e2e, package, bench   one label's tests in the release build
set -euo pipefail
cd "$(dirname "$0")/.."

preset=${1:-release}
case $preset in
  release | unit | gl | e2e | package | bench) build=release ;;
  sanitize) build=sanitize ;;
  *) sed -n 3,7p "$0" >&2; exit 2 ;;
esac
# The sanitized game and tests leave the audio library's own allocations alone.
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
scripts/deps.sh
cmake --preset "$build" >/dev/null
cmake --build "build/$build"
# -noreset: the server would otherwise reset whenever its last client leaves and refuse the
# next test process that connects meanwhile.
xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" ctest --preset "$preset"
