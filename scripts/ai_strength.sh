#!/usr/bin/env bash
# Measures the computer player's strength with 200-game headless matches: level 3 against the
# straight-shot player, level 3 against itself, level 1 against the straight-shot player. Prints
# each match's totals; the logs go to build/release/matches/ for replaying.
# Usage: scripts/ai_strength.sh [GAMES] [SEED]   (default 200 games, seed 1; builds pool-sim)
set -euo pipefail
cd "$(dirname "$0")/.."

games=${1:-200}
seed=${2:-1}
cmake --preset release >/dev/null
cmake --build build/release --target pool-sim >/dev/null
mkdir -p build/release/matches
for players in 3,straight 3,3 1,straight; do
  log=build/release/matches/${players/,/-}.log
  echo "== pool-sim --games $games --seed $seed --players $players --log $log"
  nice build/release/tools/pool-sim --games "$games" --seed "$seed" --players "$players" \
    --log "$log" | grep -v '^game '
done
