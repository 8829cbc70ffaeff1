# Shared by the install, test and build scripts: the interpreter (the
# python3 on PATH unless PYTHON names another) and the release build.
PYTHON=${PYTHON:-$(python3 -c 'import sys; print(sys.executable)')}
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
