#!/usr/bin/env bash
# Builds lumocalc-bench in build/bench (Release) and runs it: five repetitions
# of every case, medians and spread reported. Extra arguments go to the
# benchmark, e.g. --benchmark_filter=Limit. A JSON copy of the results is
# written to build/bench/results.json.
set -euo pipefail
cd "$(dirname "$0")/.."

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if [ ! -f build/bench/CMakeCache.txt ]; then
  cmake -S . -B build/bench "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DLUMOCALC_BENCHMARKS=ON >/dev/null
fi
cmake --build build/bench -j 2 --target lumocalc-bench >/dev/null

exec build/bench/bench/lumocalc-bench --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_out=build/bench/results.json \
  --benchmark_out_format=json "$@"
