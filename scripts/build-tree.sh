# shellcheck shell=bash
# The build trees the scripts use, made and brought up to date in one way;
# sourced by them.
#   build_tree [--reconfigure] DIR [CMAKE_OPTION...] [-- BUILD_OPTION...]
#       configures DIR from this checkout the first time (a Release build
#       unless an option says otherwise, with Ninja where it is installed),
#       then builds in it with a job per processor: everything, or what the
#       build options name (--target NAME...). A tree that exists keeps the
#       options it was made with, so that a quick script never undoes what
#       another one set there; --reconfigure applies the options every time,
#       for the scripts whose options must hold (the test runs). CMake's own
#       output is left out; the build's is the caller's.

build_tree() {
  local reconfigure=0
  if [ "${1:-}" = --reconfigure ]; then
    reconfigure=1
    shift
  fi
  local dir=$1
  shift
  local cmake_options=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do
    cmake_options+=("$1")
    shift
  done
  [ $# -gt 0 ] && shift

  local top generator=()
  top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    command -v ninja >/dev/null && generator=(-G Ninja)
    cmake -S "$top" -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release "${cmake_options[@]}" \
      >/dev/null
  elif [ $reconfigure -eq 1 ]; then
    cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=Release "${cmake_options[@]}" >/dev/null
  fi
  cmake --build "$dir" -j "$(nproc 2>/dev/null || echo 2)" "$@"
}
