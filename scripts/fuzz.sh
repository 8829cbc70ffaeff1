#!/usr/bin/env bash
# A short fuzz run: configures and builds the fuzz build (clang++, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs every target of
# fuzz/ on a copy of its seed corpus for the given seconds (default 12).
# Exits non-zero when a target crashes or a property fails, and prints the
# path of the input that did it. ILVEX_FUZZ_SEED fixes libFuzzer's seed, so
# that the run in the test command explores the same inputs every time.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-12}
build=build/fuzz
seed_option=()
if [ -n "${ILVEX_FUZZ_SEED:-}" ]; then
  seed_option=(-seed="$ILVEX_FUZZ_SEED")
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DILVEX_FUZZ=ON -DILVEX_PYTHON=OFF >/dev/null
cmake --build "$build"

work=$(mktemp -d /tmp/ilvex-fuzz-XXXXXX)
failed=0
for seeds in fuzz/corpus/*/; do
  target=$(basename "$seeds")
  corpus="$work/$target"
  mkdir -p "$corpus" "$work/artifacts"
  cp -r "$seeds". "$corpus"
  log="$work/$target.log"
  echo "fuzzing $target for ${seconds}s"
  if ! "$build/fuzz/$target" -max_total_time="$seconds" "${seed_option[@]}" -timeout=10 -print_final_stats=1 \
      -dict="fuzz/$target.dict" -artifact_prefix="$work/artifacts/$target-" "$corpus" >"$log" 2>&1; then
    failed=1
    echo "FAILED: $target" >&2
    grep -A30 -E '^(property failed|==[0-9]+==ERROR)' "$log" | head -60 >&2 || tail -30 "$log" >&2
    grep -h 'Test unit written to' "$log" | sed 's/.*written to /crashing input: /' >&2 || true
    echo "log: $log" >&2
  else
    grep -E '^stat::number_of_executed_units' "$log" | sed "s/^/  /" || true
  fi
done

if [ "$failed" -ne 0 ]; then
  echo "fuzz run failed; inputs and logs are kept in $work" >&2
  exit 1
fi
rm -rf "$work"
echo "fuzz run passed"
