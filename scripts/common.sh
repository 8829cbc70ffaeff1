# Shared by the install and test scripts: the interpreter on PATH and the
# release build that both use.
PYTHON=$(python3 -c 'import sys; print(sys.executable)')
RELEASE_DIR=build/release
SANITIZE_DIR=build/sanitize
JOBS=$(nproc)

# configure_release [directory [cmake options...]]
configure_release() {
  local dir=${1:-$RELEASE_DIR}
  shift $(($# > 0 ? 1 : 0))
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DPython3_EXECUTABLE="$PYTHON" "$@" >/dev/null
}
