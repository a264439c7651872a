#!/usr/bin/env bash
# Fuzzes the asset readers and the network message decoder: builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in build/fuzz, seeds them from the generated Data/ and tests/data,
# and runs each for the given seconds, or until it has run the given number of inputs. The
# targets hand the readers their inputs in memory. Fails on any crash, leak or sanitizer report.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET [RUNS_PER_TARGET]]   (default 60, no run limit)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
runs=${2:--1}
build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DPOOL_FUZZ=ON >/dev/null
cmake --build "$build" --target pool-data pool-fuzz-bmp pool-fuzz-obj pool-fuzz-font \
  pool-fuzz-message

# Seeds: every generated file of each format plus the small hand-made ones.
seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds"/{bmp,obj,font,message}
cp "$build"/Data/*.bmp tests/data/*.bmp "$seeds/bmp/"
cp "$build"/Data/default.txf tests/data/*.txf "$seeds/font/"
# An OBJ seed is the model, a NUL byte, then the material library, read as whatever library the
# model names.
{ cat "$build/Data/ball.obj"; printf '\0'; cat "$build/Data/ball.mtl"; } >"$seeds/obj/ball"
{ cat tests/data/tiny.obj; printf '\0'; cat tests/data/tiny.mtl; } >"$seeds/obj/tiny"
cp tests/data/tiny.obj "$seeds/obj/tiny_without_library"
# One message of each kind.
n=0
for line in "hello 1.0.0 1 0123456789abcdef 0000000000000000" welcome "refused the key" \
  "parted 3" "new 1" "aim -28.5" "pull 40" "hover 0.25 19.75" "place 0.25 19.75" \
  "strike 2 100" "frame 0.016666666666666666" "end 0123456789abcdef" respot; do
  printf '%s' "$line" >"$seeds/message/$((n += 1))"
done

# Longest input per target. The game's models are far longer than 2 KB, but every branch of the
# OBJ reader, its 127-character limits included, is reached by a few hundred bytes: longer
# inputs only repeat lines and make each execution dearer.
declare -A max_len=([bmp]=2048 [obj]=2048 [font]=4096 [message]=256)
status=0
for target in bmp obj font message; do
  corpus=$build/corpus/$target
  mkdir -p "$corpus"
  log=$build/fuzz-$target.log
  failed=0
  echo "Fuzzing $target for ${seconds}s"
  started=$SECONDS
  # The readers' own stdout and stderr are closed: their ordinary warnings (unknown materials,
  # vertices without triangles, missing glyphs) would flood the log. libFuzzer and the
  # sanitizers keep reporting to it.
  if ! "$build/tests/fuzz/pool-fuzz-$target" "$corpus" "$seeds/$target" -max_total_time="$seconds" \
      -runs="$runs" -max_len="${max_len[$target]}" -timeout=10 -rss_limit_mb=2048 -error_exitcode=77 \
      -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$build/crash-$target-" >"$log" 2>&1; then
    failed=1
  fi
  elapsed=$((SECONDS - started))
  if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|SUMMARY: ' "$log"; then
    failed=1
  fi
  executed=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$' || echo "?")
  if [ "$failed" -ne 0 ]; then
    status=1
    echo "FAILED: $target (log: $log)"
    grep -E 'ERROR|runtime error|SUMMARY|Test unit written' "$log" | head -20 || true
  else
    echo "$target: $executed executions in ${elapsed}s, no finding"
  fi
done
exit "$status"
