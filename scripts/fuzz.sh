#!/usr/bin/env bash
# Fuzzes Calculate with libFuzzer for a number of seconds (default 60):
#   scripts/fuzz.sh [SECONDS] [extra libFuzzer options...]
# Builds build/fuzz with clang (ASan, UBSan, coverage), starts from the
# committed seed corpus (fuzz/corpus, fuzz/regressions) and keeps every new
# input it finds in build/fuzz/corpus, which later runs continue from; nothing
# is committed. Crashes and hangs land in build/fuzz/findings: check one with
#   build/fuzz/fuzz/lumocalc-fuzz FILE
# and, when it is real, copy it to fuzz/regressions/ so the tests replay it.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[ $# -gt 0 ] && shift

# shellcheck source=scripts/build-tree.sh
source scripts/build-tree.sh
CXX=clang++ build_tree build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMOCALC_FUZZER=ON \
  -DLUMOCALC_BENCHMARKS=OFF -- --target lumocalc-fuzz >/dev/null

mkdir -p build/fuzz/corpus build/fuzz/findings
seeds=(fuzz/corpus)
[ -d fuzz/regressions ] && seeds+=(fuzz/regressions)

# A line that takes longer than -timeout is reported as a hang. The slowest
# lines are those of up to 4,000 characters, which the target also gives to
# the step engine, whose time grows with the square of the length: the
# timeout leaves them room under the sanitizers.
exec build/fuzz/fuzz/lumocalc-fuzz build/fuzz/corpus "${seeds[@]}" \
  -dict=fuzz/calculate.dict -max_len=40000 -timeout=60 -rss_limit_mb=2048 \
  -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix=build/fuzz/findings/ "$@"
