#!/usr/bin/env bash
# Runs every benchmark: the shot loop, the frame rate of the main view against its bare mode,
# and the start-up (first frame, resident memory, processor time while waiting for a key) of the
# game beside an empty GLUT window, on a virtual 1920x1080 display (Mesa llvmpipe).
# Usage: scripts/bench.sh [FRAMES_PER_RUN] [START_UPS]   (defaults 60 and 5; build folder build/bench)
set -euo pipefail
cd "$(dirname "$0")/.."

frames=${1:-60}
startups=${2:-5}
scripts/deps.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench --target pool-bench pool-frame-bench pool-startup-bench
cd build/bench

echo "== Shot loop: the break played to rest (CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'))"
bench/pool-bench --benchmark_min_time=1
echo
echo "== Frame rate of the main view during the break"
xvfb-run -a -s "-screen 0 1920x1080x24" bench/pool-frame-bench "$frames"
echo
echo "== Start-up of the game"
xvfb-run -a -s "-screen 0 1920x1080x24" bench/pool-startup-bench src/app/pool "$startups"
echo
echo "== Start-up of an empty GLUT window on the same driver, for comparison"
xvfb-run -a -s "-screen 0 1920x1080x24" bench/pool-startup-bench bench/pool-empty-window "$startups"
