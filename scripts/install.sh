#!/usr/bin/env bash
# Installs the build dependencies from Debian's archive, builds the module in
# Release (scripts/build_release.sh) and installs it into the platlib of the
# python3 on PATH (or of the interpreter PYTHON names).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

packages=(g++ cmake ninja-build pkg-config libicu-dev libgtest-dev clang libclang-rt-14-dev)
python_include=$("$PYTHON" -c 'import sysconfig; print(sysconfig.get_paths()["include"])')
if [ ! -f "$python_include/Python.h" ]; then
  packages+=(python3-dev)
fi
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

bash scripts/build_release.sh
cmake --install "$RELEASE_DIR"
