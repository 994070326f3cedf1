#!/usr/bin/env bash
# Fuzzes Calculate, or with --session the line session (fuzz/session_fuzzer.cpp),
# with libFuzzer for a number of seconds (default 60):
#   scripts/fuzz.sh [--session] [SECONDS] [extra libFuzzer options...]
# Builds build/fuzz with clang (ASan, UBSan, coverage), starts from the
# committed seed corpus (fuzz/corpus and fuzz/regressions, or
# fuzz/session_corpus and fuzz/session_regressions) and keeps every new input
# it finds in build/fuzz/corpus (build/fuzz/session_corpus), which later runs
# continue from; nothing is committed. Crashes and hangs land in
# build/fuzz/findings (build/fuzz/session_findings): check one with
#   build/fuzz/fuzz/lumocalc-fuzz FILE    (lumocalc-session-fuzz)
# and, when it is real, copy it to fuzz/regressions/ (fuzz/session_regressions/)
# so the tests replay it.
set -euo pipefail
cd "$(dirname "$0")/.."

target=
[ "${1:-}" = --session ] && target=session && shift
seconds=${1:-60}
[ $# -gt 0 ] && shift

if [ -z "$target" ]; then
  program=lumocalc-fuzz seeds=(fuzz/corpus) findings=fuzz/regressions kept=build/fuzz/corpus
  found=build/fuzz/findings
  # A line that takes longer than -timeout is reported as a hang. The slowest
  # lines are those of up to 4,000 characters, which the target also gives to
  # the step engine, whose time grows with the square of the length: the
  # timeout leaves them room under the sanitizers.
  options=(-dict=fuzz/calculate.dict -max_len=40000 -timeout=60)
else
  program=lumocalc-session-fuzz seeds=(fuzz/session_corpus) findings=fuzz/session_regressions
  kept=build/fuzz/session_corpus found=build/fuzz/session_findings
  # Short inputs are enough: "r" repeats a text to fill the line. Sessions
  # of any length from the start: a 1,024-byte input of actions costs about
  # 5 ms, what the short ones cost on average, and reaches deeper states
  # (libFuzzer's own growth of the length kept a ten-minute run to 37 bytes).
  options=(-dict=fuzz/session.dict -max_len=1024 -len_control=0 -timeout=60)
fi

# shellcheck source=scripts/build-tree.sh
source scripts/build-tree.sh
CXX=clang++ build_tree build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMOCALC_FUZZER=ON \
  -DLUMOCALC_BENCHMARKS=OFF -- --target "$program" >/dev/null

mkdir -p "$kept" "$found"
[ -d "$findings" ] && seeds+=("$findings")

exec "build/fuzz/fuzz/$program" "$kept" "${seeds[@]}" "${options[@]}" -rss_limit_mb=2048 \
  -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$found/" "$@"
