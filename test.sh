#!/usr/bin/env bash
# Sets up what is missing and runs every test of lumo calc:
#   1. the engine, console evaluator and window-logic tests, natively (warnings as errors),
#      and the Debian package of that build (unpacked and run, lintian);
#   2. the same tests under AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. the ARM64 Linux build: cross-built, its tests under QEMU (the software extended
#      format), and its Debian package;
#   4. the Windows program: cross-built, its unit tests and UI tests under Wine
#      (LUMOCALC_NO_32BIT=1: as on a machine that cannot start 32-bit programs);
#   5. the web page: built with emscripten, its module against the native evaluator
#      under Node, the page in headless Chromium (scripts/test-web.sh).
# Build trees go to build/; pass --native to skip the ARM64, Windows and web parts.
set -euo pipefail
cd "$(dirname "$0")"

native_only=0
[ "${1:-}" = "--native" ] && native_only=1
jobs=$(nproc 2>/dev/null || echo 2)

if [ $native_only -eq 1 ]; then scripts/setup.sh native fuzz; else scripts/setup.sh native fuzz arm64 windows; fi

step() { printf '\n=== %s\n' "$*"; }

# shellcheck source=scripts/build-tree.sh
source scripts/build-tree.sh

step "native build and tests"
build_tree --reconfigure build/release -DLUMOCALC_WERROR=ON
ctest --test-dir build/release --output-on-failure -j "$jobs"

step "Debian package"
scripts/test-package.sh build/release

step "sanitizer build and tests (ASan, UBSan)"
build_tree --reconfigure build/sanitize -DCMAKE_BUILD_TYPE=Debug -DLUMOCALC_WERROR=ON \
  -DLUMOCALC_SANITIZE=ON -DLUMOCALC_BENCHMARKS=OFF
ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

if [ $native_only -eq 0 ]; then
  step "ARM64 build and tests under QEMU"
  scripts/test-arm64.sh
fi

if [ $native_only -eq 0 ] && [ -x scripts/test-windows.sh ]; then
  step "Windows program under Wine"
  scripts/test-windows.sh
fi

if [ $native_only -eq 0 ]; then
  step "web page in headless Chromium"
  scripts/test-web.sh
fi
