#!/usr/bin/env bash
# Builds the release module (and the release tests) in the build directory
# given, build/release by default, optimised from a profile of its own work:
# the first time (or once the directory's profile/ was removed) the core and
# the module are built instrumented and run over scripts/profile_training.py;
# every build then compiles them from the counts recorded.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

dir=${1:-$RELEASE_DIR}
if [ ! -f "$dir/profile/trained" ]; then
  rm -rf "$dir/profile"
  configure_release "$dir" -DILVEX_PROFILE=generate
  cmake --build "$dir" --target ilvex
  PYTHONPATH="$dir/python" "$PYTHON" scripts/profile_training.py
  touch "$dir/profile/trained"
fi
configure_release "$dir" -DILVEX_PROFILE=use
cmake --build "$dir"
