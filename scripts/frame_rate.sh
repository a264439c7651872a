#!/usr/bin/env bash
# Measures the frame rate of the game's main view at 800x600 and 1920x1080 under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -S . -B build/frame-rate -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/frame-rate --target render_frame_rate_test
cd build/frame-rate
xvfb-run -a -s "-screen 0 1920x1080x24" tests/render_frame_rate_test \
  --gtest_also_run_disabled_tests --gtest_filter='FrameRate.*'
