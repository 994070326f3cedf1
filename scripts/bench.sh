#!/usr/bin/env bash
# Builds the benchmarks in build/bench (Release) and runs one: five
# repetitions of every case, medians and spread reported, a JSON copy in
# build/bench/.
#   scripts/bench.sh [ARGS...]        lumocalc-bench: Calculate on typical lines
#                                     and on lines at the input field's limit
#   scripts/bench.sh term [ARGS...]   lumocalc-term-bench: from a key written to
#                                     lumocalc's terminal until the screen shows
#                                     the new state
#   scripts/bench.sh web [SAMPLES]    bench/web_bench.mjs: the web page in headless
#                                     Chromium, from a key to the painted answer
# Extra arguments go to the benchmark, e.g. --benchmark_filter=Limit.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = web ]; then
  shift
  scripts/build-web.sh >/dev/null
  exec node bench/web_bench.mjs build/web/web/lumocalc.html "$@"
fi

bench=lumocalc-bench
targets=(lumocalc-bench)
if [ "${1:-}" = term ]; then
  shift
  bench=lumocalc-term-bench
  targets=(lumocalc lumocalc-term-bench)
fi

# shellcheck source=scripts/build-tree.sh
source scripts/build-tree.sh
build_tree build/bench -DBUILD_TESTING=OFF -DLUMOCALC_BENCHMARKS=ON -- --target "${targets[@]}" \
  >/dev/null

exec "build/bench/bench/$bench" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_out="build/bench/$bench.json" \
  --benchmark_out_format=json "$@"
