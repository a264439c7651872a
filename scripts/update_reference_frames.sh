#!/usr/bin/env bash
# Re-renders the scene tests' reference frames into tests/data/reference after an intended
# change of the picture. Look at every picture before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/deps.sh
cmake -S . -B build/reference -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/reference --target app_shell_test
cd build/reference
POOL_TEST_DATA="$root/tests/data" POOL_UPDATE_REFERENCE_FRAMES=1 \
  xvfb-run -a -s "-screen 0 1920x1080x24" tests/app_shell_test --gtest_filter="*Scenes*:*Screens*"
echo "Rewrote tests/data/reference/*.png; look at each one before committing them."
