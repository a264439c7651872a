#!/usr/bin/env bash
# Builds the game, its tools and tests, and runs every test under a virtual display.
# Usage: scripts/test.sh [release|sanitize]   (default release)
set -euo pipefail
cd "$(dirname "$0")/.."

preset=${1:-release}
# The sanitized game and tests leave the audio library's own allocations alone.
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
scripts/deps.sh
cmake --preset "$preset" >/dev/null
cmake --build "build/$preset"
# -noreset: the server would otherwise reset whenever its last client leaves and refuse the
# next test process that connects meanwhile.
xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" \
  ctest --test-dir "build/$preset" --output-on-failure -j2
