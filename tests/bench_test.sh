#!/usr/bin/env bash
# The benchmarks still run, on a virtual display of their own: the frame benchmark draws a few
# frames in both modes, and the start-up benchmark sees the game's first frame and no redraw
# while the game waits for a key (a redraw without a reason would keep a processor busy).
# Usage: bench_test.sh POOL POOL_FRAME_BENCH POOL_STARTUP_BENCH   (run from the build folder)
POOL=$1
FRAME_BENCH=$2
STARTUP_BENCH=$3
. "$(dirname "$0")/e2e/lib.sh"

start_display 1920x1080
"$FRAME_BENCH" 2 >"$WORK/frames" 2>&1 || fail "pool-frame-bench: $(cat "$WORK/frames")"
grep -q '^1920x1080: game [0-9.]* fps' "$WORK/frames" || fail "no frame rate: $(cat "$WORK/frames")"
"$STARTUP_BENCH" "$POOL" 1 >"$WORK/startup" 2>&1 || fail "pool-startup-bench: $(cat "$WORK/startup")"
grep -q '^run 1: first frame [0-9]* ms, resident [0-9.]* MB, .* 0 redraws' "$WORK/startup" ||
  fail "the waiting game redrew: $(cat "$WORK/startup")"
cat "$WORK/frames" "$WORK/startup"
