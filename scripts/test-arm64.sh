#!/usr/bin/env bash
# lumo calc for 64-bit ARM Linux: cross-built in build/arm64 (Release, no
# benchmarks) and its tests run under QEMU's user mode. There long double is
# a 128-bit quad and the engine computes in the software extended format, so
# this is the run that shows the same answers on a machine without an x87.
# Then its Debian package, lumocalc_<version>_arm64.deb, is made and tested.
# Extra arguments go to ctest, e.g. -R Engine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh arm64
jobs=$(nproc 2>/dev/null || echo 2)
# shellcheck source=scripts/build-tree.sh
source scripts/build-tree.sh
build_tree --reconfigure build/arm64 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/AArch64-linux.cmake" \
  -DLUMOCALC_WERROR=ON -DLUMOCALC_BENCHMARKS=OFF
ctest --test-dir build/arm64 --output-on-failure -j "$jobs" "$@"
scripts/test-package.sh build/arm64
