#!/usr/bin/env bash
# Builds the game with its generated art and starts it from the folder that holds Data/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake --preset release >/dev/null
cmake --build build/release --target pool
cd build/release
exec src/app/pool
