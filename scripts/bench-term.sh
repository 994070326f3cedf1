#!/usr/bin/env bash
# Builds lumocalc and lumocalc-term-bench in build/bench (Release) and runs
# the benchmark: the time from a key written to lumocalc's terminal until the
# screen shows the new state, on typical lines and on a 32,766-character
# line. Five repetitions, medians and spread reported; extra arguments go to
# the benchmark, e.g. --benchmark_filter=Long.
set -euo pipefail
cd "$(dirname "$0")/.."

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if [ ! -f build/bench/CMakeCache.txt ]; then
  cmake -S . -B build/bench "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DLUMOCALC_BENCHMARKS=ON >/dev/null
fi
cmake --build build/bench -j 2 --target lumocalc lumocalc-term-bench >/dev/null

exec build/bench/bench/lumocalc-term-bench --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_out=build/bench/term-results.json \
  --benchmark_out_format=json "$@"
