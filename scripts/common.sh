# Shared by scripts/run and scripts/test: configure and build one tree.
# usage: kestrel_build DIR [cmake options...]
# A compiler cache is used when one is installed (it is not needed, and CI does not have one).
kestrel_launcher() {
  if command -v ccache >/dev/null 2>&1; then
    echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
  fi
}
kestrel_build() {
  local dir=$1; shift
  # shellcheck disable=SC2046
  cmake -S "$KESTREL_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release $(kestrel_launcher) "$@"
  cmake --build "$dir" -j "$(nproc)"
}
