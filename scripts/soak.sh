#!/usr/bin/env bash
# Offline physics soak: plays many random shots and checks every frame (see tests/sim_soak_test.cpp).
# Usage: scripts/soak.sh [SHOTS] [SEED]   (defaults 100000 and a fresh seed; build folder build/soak)
set -euo pipefail
cd "$(dirname "$0")/.."

shots=${1:-100000}
seed=${2:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
cmake -S . -B build/soak -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/soak --target sim_soak_test
time POOL_SOAK_SHOTS=$shots POOL_SOAK_SEED=$seed build/soak/tests/sim_soak_test
