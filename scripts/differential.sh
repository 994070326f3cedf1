#!/usr/bin/env bash
# The long comparison of the fast engine with the step engine:
#   scripts/differential.sh [LINES] [SEED]      (default 2,000,000 lines, seed 1)
# Generated lines of every shape go through both, and every answer must have
# the form of an answer. Builds in build/release. Exit code 1 on any mismatch,
# with the first ones printed.
set -euo pipefail
cd "$(dirname "$0")/.."

lines=${1:-2000000}
seed=${2:-1}
# shellcheck source=scripts/build-tree.sh
source scripts/build-tree.sh
build_tree build/release -- --target differential-run >/dev/null
build/release/tests/differential/differential-run "$lines" "$seed"
