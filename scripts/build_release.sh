#!/usr/bin/env bash
# Builds the release module (and the release tests) in the build directory
# given, build/release by default, optimised from a profile of its own work:
# the first time, and whenever a source of the module or of the training
# changed since, the core and the module are built instrumented and run over
# scripts/profile_training.py; they are then compiled from the counts
# recorded, which hold only for the sources they were recorded from.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

dir=${1:-$RELEASE_DIR}
stamp=$dir/profile/trained
profiled=(CMakeLists.txt core/CMakeLists.txt core/src core/std python/CMakeLists.txt python/src
          scripts/profile_training.py bench/inputs.py bench/formats)
if [ ! -f "$stamp" ] || [ -n "$(find "${profiled[@]}" -newer "$stamp" -not -path "*/__pycache__/*" -print -quit)" ]; then
  rm -rf "$dir/profile"
  configure_release "$dir" -DILVEX_PROFILE=generate
  cmake --build "$dir" --target ilvex
  PYTHONPATH="$dir/python" "$PYTHON" scripts/profile_training.py
  touch "$stamp"
fi
configure_release "$dir" -DILVEX_PROFILE=use
cmake --build "$dir"
