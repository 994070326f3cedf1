#!/usr/bin/env bash
# Whole-process speed of lumocalc-eval against other evaluators:
#   scripts/compare-speed.sh [COMMAND...]        e.g.  scripts/compare-speed.sh 'bc -l'
# Each COMMAND is run by the shell with the same lines on standard input, one
# expression a line; without any, 'bc -l' is taken when bc is installed.
#
# The lines are generated from a fixed seed, 3 to 60 characters, in the syntax
# every such tool reads alike: integers and decimals with ".", + - * /,
# parentheses; no unary minus, and no division by something that may be zero.
# For every command this prints the start-up time (empty input), the time for
# 1,000 and 100,000 lines, and the cost of one line with start-up taken out,
# (t100k - t1k) / 99,000, then that cost divided by lumocalc-eval's (× first).
#
# Times are medians: of hyperfine's runs when it is installed (the shell's own
# start is taken out), else of RUNS runs (default 5) timed with date, shell
# included. LUMOCALC_EVAL names the evaluator to time, as a path from the
# repository's top; by default it is built in build/bench (Release).
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${RUNS:-5}
if [ -z "${LUMOCALC_EVAL:-}" ]; then
  # shellcheck source=scripts/build-tree.sh
  source scripts/build-tree.sh
  build_tree build/bench -DBUILD_TESTING=OFF -- --target lumocalc-eval >/dev/null
  LUMOCALC_EVAL=build/bench/cli/lumocalc-eval
fi
commands=("$LUMOCALC_EVAL")
if [ $# -gt 0 ]; then
  commands+=("$@")
elif command -v bc >/dev/null; then
  commands+=("bc -l")
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Park-Miller generator: its products stay below 2^53, so every awk computes
# the same sequence and the corpus is the same everywhere.
generate() {
  awk -v count="$1" '
    function rnd() { seed = (seed * 16807) % 2147483647; return seed / 2147483647 }
    function pick(n) { return int(rnd() * n) }
    function number(   text, i, n) {
      text = substr("123456789", pick(9) + 1, 1)
      n = pick(4)
      for (i = 0; i < n; i++) text = text substr("0123456789", pick(10) + 1, 1)
      if (pick(10) < 3) {
        text = text "."
        n = pick(3) + 1
        for (i = 0; i < n; i++) text = text substr("0123456789", pick(10) + 1, 1)
      }
      return text
    }
    function term(depth) {
      if (depth < 3 && pick(4) == 0) return "(" expression(depth + 1) ")"
      return number()
    }
    function expression(depth,   text, n, i, op) {
      text = term(depth)
      n = pick(4) + (depth == 0)
      for (i = 0; i < n; i++) {
        op = substr("+-*/", pick(4) + 1, 1)
        text = text op (op == "/" ? number() : term(depth))
      }
      return text
    }
    BEGIN {
      seed = 20240601
      while (made < count) {
        line = expression(0)
        if (length(line) >= 3 && length(line) <= 60) { print line; made++ }
      }
    }'
}
generate 1000 >"$work/1k"
generate 100000 >"$work/100k"
: >"$work/empty"

# median_seconds COMMAND INPUT: the median wall time of COMMAND < INPUT.
if command -v hyperfine >/dev/null; then
  median_seconds() {
    hyperfine --style none --warmup 1 --min-runs "$runs" --export-csv "$work/t.csv" \
      "$1 < $2 > /dev/null" >/dev/null 2>&1
    # command,mean,stddev,median,user,system,min,max: the command may hold commas.
    tail -n 1 "$work/t.csv" | awk -F, '{ print $(NF - 4) }'
  }
else
  median_seconds() {
    local i start end
    for ((i = 0; i < runs; i++)); do
      start=$(date +%s%N)
      sh -c "$1 < $2 > /dev/null"
      end=$(date +%s%N)
      echo $((end - start))
    done | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] / 1e9 }'
  }
fi

echo "corpus: 100,000 lines, $(wc -c <"$work/100k") bytes; medians of at least $runs runs"
echo "first lines: $(head -n 3 "$work/1k" | tr '\n' ' ')"
printf '\n%-40s %11s %11s %11s %12s %9s\n' "command" "start-up ms" "1k ms" "100k ms" "per line µs" "× first"
base=""
for command in "${commands[@]}"; do
  answered=$(sh -c "$command < $work/1k" 2>/dev/null | wc -l)
  [ "$answered" -eq 1000 ] ||
    echo "note: '$command' printed $answered lines for 1,000 lines of input" >&2
  t0=$(median_seconds "$command" "$work/empty")
  t1=$(median_seconds "$command" "$work/1k")
  t2=$(median_seconds "$command" "$work/100k")
  per_line=$(awk -v a="$t1" -v b="$t2" 'BEGIN { printf "%.3f", (b - a) / 99000 * 1e6 }')
  [ -z "$base" ] && base=$per_line
  # Parenthesised: a bare ">" in awk's printf arguments would redirect its output.
  awk -v c="$command" -v t0="$t0" -v t1="$t1" -v t2="$t2" -v p="$per_line" -v base="$base" \
    'BEGIN {
       if (length(c) > 40) c = "..." substr(c, length(c) - 36)
       ratio = (base > 0) ? p / base : 0
       printf("%-40s %11.2f %11.2f %11.1f %12.3f %8.2fx\n", c, t0 * 1e3, t1 * 1e3, t2 * 1e3, p, ratio)
     }'
done
