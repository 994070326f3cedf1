#!/usr/bin/env bash
# The software extended format against the x87, bit for bit (x86 only):
#   scripts/compare-extended.sh [N] [SEED]      (default 10,000,000 pairs, seed 1)
# N hard operand pairs for each of + - * / and the comparisons, N values for
# each conversion, N / 20 for the exact decimal conversions against strtold
# and std::to_chars, N / 10 for Log and Exp, whose distance to logl and expl
# is reported in ulps. Builds in build/release. Exit code 1 on any mismatch,
# with the first ones printed.
set -euo pipefail
cd "$(dirname "$0")/.."

pairs=${1:-10000000}
seed=${2:-1}
# shellcheck source=scripts/build-tree.sh
source scripts/build-tree.sh
build_tree build/release -- --target extended-compare >/dev/null
exec build/release/tests/extended/extended-compare "$pairs" "$seed"
