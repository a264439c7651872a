#!/usr/bin/env bash
# The benchmarks still run, on a virtual display of their own: the frame benchmark draws a few
# frames in both modes, and the start-up benchmark sees the game's first frame and no redraw
# while the game waits for a key (a redraw without a reason would keep a processor busy).
# Usage: bench_test.sh POOL POOL_FRAME_BENCH POOL_STARTUP_BENCH   (run from the build folder)
. "$(dirname "$0")/e2e/lib.sh"

start_display 1920x1080
"$2" 2 >"$WORK/frames" 2>&1 && grep -q '^1920x1080: game [0-9.]* fps' "$WORK/frames" ||
  fail "pool-frame-bench: $(cat "$WORK/frames")"
"$3" "$1" 1 >"$WORK/startup" 2>&1 && grep -q '^run 1: first frame [0-9]* ms, .* 0 redraws' "$WORK/startup" ||
  fail "pool-startup-bench: $(cat "$WORK/startup")"
