# Shared by scripts/run and scripts/test: configure and build one tree.
# usage: kestrel_build DIR [cmake options...]
kestrel_build() {
  local dir=$1; shift
  cmake -S "$KESTREL_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build "$dir" -j "$(nproc)"
}
