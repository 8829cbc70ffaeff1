#!/usr/bin/env bash
# Builds and runs every test: the C++ unit tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short fuzz run of every libFuzzer target, then
# the C++ and Python module tests of the release build.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

cmake -S . -B "$SANITIZE_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DILVEX_SANITIZE=ON -DILVEX_PYTHON=OFF >/dev/null
cmake --build "$SANITIZE_DIR"
ctest --test-dir "$SANITIZE_DIR" --output-on-failure -j "$JOBS"

ILVEX_FUZZ_SEED=1 bash scripts/fuzz.sh 20

bash scripts/build_release.sh
ctest --test-dir "$RELEASE_DIR" --output-on-failure -j "$JOBS"

# What each format of the shared corpus imports and refuses, when the corpus
# is there (without it the summary is empty, which is no failure).
PYTHONPATH="$RELEASE_DIR/python" "$PYTHON" -m unittest discover -s python/tests -p test_corpus.py 2>&1 |
  { grep -E '^(corpus:|  [a-z]+: [0-9])' || true; }
