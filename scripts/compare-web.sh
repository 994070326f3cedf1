#!/usr/bin/env bash
# The web page's module under Node against lumocalc-eval built with the
# software extended format (build/soft), which gives the same bits, on LINES
# generated lines (testkit/line_generator.h), 200,000 at a time:
#   scripts/compare-web.sh [LINES] [SEED]     (default 2,000,000 lines, seed 1)
# Exit code 1 on any difference; the first ones are listed.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build-web.sh >/dev/null
[ -f build/soft/CMakeCache.txt ] || cmake -S . -B build/soft -DCMAKE_BUILD_TYPE=Release \
  -DLUMOCALC_SOFT_EXTENDED=ON -DLUMOCALC_BENCHMARKS=OFF >/dev/null
cmake --build build/soft -j 2 --target lumocalc-eval differential-run >/dev/null

LUMOCALC_MODULE=$PWD/build/web/web/lumocalc.js LUMOCALC_EVAL=$PWD/build/soft/cli/lumocalc-eval \
LUMOCALC_DIFFERENTIAL_RUN=$PWD/build/soft/tests/differential/differential-run \
LUMOCALC_COUNT=${1:-2000000} LUMOCALC_SEED=${2:-1} \
  exec node --test tests/web/module.test.mjs
