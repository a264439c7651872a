#!/usr/bin/env bash
# Offline game soak: plays many shots through the game's callbacks on a virtual display (see
# tests/app_game_soak_test.cpp), then checks that the resident memory did not grow. The GL
# driver's buffers swing it by up to 8 MiB from game to game, so the check compares floors: the
# lowest size after the later half of the games may be at most 4 MiB above the lowest after the
# earlier half (the first game, which warms up the driver, left out), where a leak of 4 KiB a
# frame would raise it by more. Replay a run with its seed.
# Usage: scripts/game_soak.sh [SHOTS] [SEED]   (defaults 400 and a fresh seed; build folder build/soak)
set -euo pipefail
cd "$(dirname "$0")/.."

shots=${1:-400}
seed=${2:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
scripts/deps.sh
cmake -S . -B build/soak -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/soak --target app_game_soak_test
cd build/soak
log=$(mktemp)
trap 'rm -f "$log"' EXIT
echo "game soak: $shots shots, seed $seed (replay: scripts/game_soak.sh $shots $seed)"
POOL_GAME_SOAK_SHOTS=$shots POOL_GAME_SOAK_SEED=$seed \
  xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" tests/app_game_soak_test 2>&1 | tee "$log"
awk '/^game [0-9]+ ends/ && $2 > 1 { kib[++n] = $(NF - 2) }
  function lowest(from, to,   g, m) { m = kib[from]; for (g = from; g <= to; ++g) if (kib[g] < m) m = kib[g]; return m }
  END {
    if (n < 6) { print "too few games to judge the memory: play more shots"; exit 1 }
    early = lowest(1, int(n / 2)); late = lowest(int(n / 2) + 1, n)
    printf "resident memory: at least %d KiB over games 2 to %d, %d KiB over games %d to %d\n",
      early, int(n / 2) + 1, late, int(n / 2) + 2, n + 1
    exit late > early + 4096 }' "$log"
