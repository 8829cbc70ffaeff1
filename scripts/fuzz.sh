#!/usr/bin/env bash
# A short fuzz run: configures and builds the fuzz build (clang++, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs every target of
# fuzz/ on a copy of its seed corpus for the given seconds (default 12), as
# many targets at a time as there are cores.
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
mkdir -p "$work/artifacts"
jobs=$(nproc)

# Runs one target on a copy of its seed corpus; the exit status says whether
# it passed.
fuzz_target() {
  local target=$1 corpus="$work/$1"
  mkdir -p "$corpus"
  cp -r "fuzz/corpus/$target/". "$corpus"
  "$build/fuzz/$target" -max_total_time="$seconds" "${seed_option[@]}" -timeout=10 -print_final_stats=1 \
    -dict="fuzz/$target.dict" -artifact_prefix="$work/artifacts/$target-" "$corpus" >"$work/$target.log" 2>&1
}

# Prints what a target's log says: its count of runs, or why it failed.
report_target() {
  local target=$1 status=$2 log="$work/$1.log"
  if [ "$status" -eq 0 ]; then
    echo "$target passed"
    grep -E '^stat::number_of_executed_units' "$log" | sed "s/^/  /" || true
    return
  fi
  echo "FAILED: $target" >&2
  grep -A30 -E '^(property failed|==[0-9]+==ERROR)' "$log" | head -60 >&2 || tail -30 "$log" >&2
  grep -h 'Test unit written to' "$log" | sed 's/.*written to /crashing input: /' >&2 || true
  echo "log: $log" >&2
}

# The targets run side by side, as many at a time as there are cores, each
# for the given seconds.
targets=()
for seeds in fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
echo "fuzzing ${#targets[@]} targets for ${seconds}s each, $jobs at a time"
failed=0
for ((start = 0; start < ${#targets[@]}; start += jobs)); do
  batch=("${targets[@]:start:jobs}")
  pids=()
  for target in "${batch[@]}"; do
    fuzz_target "$target" &
    pids+=($!)
  done
  for i in "${!batch[@]}"; do
    status=0
    wait "${pids[$i]}" || status=$?
    report_target "${batch[$i]}" "$status"
    [ "$status" -eq 0 ] || failed=1
  done
done

if [ "$failed" -ne 0 ]; then
  echo "fuzz run failed; inputs and logs are kept in $work" >&2
  exit 1
fi
rm -rf "$work"
echo "fuzz run passed"
