#!/usr/bin/env bash
# Offline physics soak: plays many random shots and checks every frame (tests/sim_soak_test.cpp).
# Usage: scripts/soak.sh [SHOTS] [SEED]   (defaults 100000 and a fresh seed; build folder build/soak)
# It prints the seed; the same SHOTS and SEED play the same shots again. A fault names the sequence
# to replay alone (POOL_SOAK_REPLAY=...). A run that hangs: run it again with POOL_SOAK_TRACE=1,
# which names every sequence before playing it; the last one named is the one that hangs.
set -euo pipefail
cd "$(dirname "$0")/.."

shots=${1:-100000}
seed=${2:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
echo "soak: $shots shots, seed $seed (scripts/soak.sh $shots $seed plays them again)"
cmake -S . -B build/soak -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/soak --target sim_soak_test
POOL_SOAK_SHOTS=$shots POOL_SOAK_SEED=$seed build/soak/tests/sim_soak_test
