#!/usr/bin/env bash
# The whole engine in the software extended format against the x87's:
#   scripts/compare-soft-engine.sh [LINES] [SEED] [--arm64]   (default 2,000,000 lines, seed 1)
# LINES generated lines of every shape (testkit/line_generator.h),
# and LINES / 10 powers x^y of random decimals (x up to 1000, y from 3 to
# 100, so that the 15 digits of most show), where the software and the FPU
# part ways most easily, are answered by lumocalc-eval built on x86-64
# with the FPU's long double (build/release) and with the software format
# (build/soft, -DLUMOCALC_SOFT_EXTENDED=ON); with --arm64 also by the ARM64
# build (build/arm64, as scripts/test-arm64.sh makes it) under QEMU.
#
# Every answer must be the same, with one exception: x^y for a y that is not
# an integer below 65,536 is e^(y ln|x|), and the software's Log and Exp are
# correctly rounded where glibc's x87 logl and expl are not always, so such a
# power's last (15th) digit may differ. A differing line is put down to that
# when the traces of the two builds first part at a "^" reduction that takes
# that road and whose values are one unit of the 15th digit apart; such
# lines are counted and listed, any other is a mismatch. Exit code 1 on any
# mismatch.
set -euo pipefail
cd "$(dirname "$0")/.."

lines=${1:-2000000}
seed=${2:-1}
arm64=0
[ "${3:-}" = "--arm64" ] && arm64=1

# shellcheck source=scripts/build-tree.sh
source scripts/build-tree.sh
build_tree build/release -- --target differential-run lumocalc-eval lumocalc-eval-traced >/dev/null
build_tree build/soft -DLUMOCALC_SOFT_EXTENDED=ON -DLUMOCALC_BENCHMARKS=OFF -- \
  --target lumocalc-eval lumocalc-eval-traced >/dev/null
builds=(soft)
if [ $arm64 -eq 1 ]; then
  scripts/setup.sh arm64
  build_tree build/arm64 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/AArch64-linux.cmake" \
    -DLUMOCALC_BENCHMARKS=OFF -- --target lumocalc-eval lumocalc-eval-traced >/dev/null
  builds+=(arm64)
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# evaluator BUILD [traced]: the command line of that build's lumocalc-eval.
evaluator() {
  local program="$PWD/build/$1/cli/lumocalc-eval${2:+-traced}"
  if [ "$1" = arm64 ]; then
    echo "qemu-aarch64 -L /usr/aarch64-linux-gnu $program --escaped"
  else
    echo "$program --escaped"
  fi
}

build/release/tests/differential/differential-run "$lines" "$seed" --lines >"$work/lines"
awk -v count=$((lines / 10)) -v seed="$seed" 'BEGIN {
  srand(seed)
  for (i = 0; i < count; i++) {
    x = 1 + int(rand() * 99999) / 100
    y = 3 + int(rand() * 9700000) / 100000
    print (rand() < 0.05 ? "-" : "") x "^" (rand() < 0.05 ? "-" : "") y
  }
}' >>"$work/lines"
total=$(wc -l <"$work/lines")

# The "Oper>    solved" lines of one build's trace of one line.
solved() {
  local dir="$work/trace-$1" command
  command=$(evaluator "$1" traced)
  mkdir -p "$dir"
  (cd "$dir" && $command -- "$2" >/dev/null)
  tr -d '\r' <"$dir/lumocalc-debug.txt" | sed -n 's/^Oper>    solved //p'
}

# Whether the first parting of two traces (paste -d'|' of their solved
# lines) is a power through e^(y ln|x|) whose values are one unit apart.
power_last_digit() {
  awk -F'|' '
    $1 == $2 { next }
    {
      found = 1
      split($1, a, " = "); split($2, b, " = "); n = split(a[1], span, " ")
      code = 1
      if (a[1] != b[1] || n != 3 || span[2] != "^") exit
      x = span[1] + 0; y = span[3] + 0
      if (x < 0) y = (y < 0 ? -1 : 1) * int((y < 0 ? -y : y) + 0.5)
      if (y == int(y) && y < 65536 && y > -65536) exit
      u = a[2] + 0; v = b[2] + 0; m = (u < 0 ? -u : u); if ((v < 0 ? -v : v) > m) m = (v < 0 ? -v : v)
      e = int(log(m) / log(10)); if (10 ^ e > m) e--
      d = u - v; if (d < 0) d = -d
      code = (d > 0 && d <= 1.5 * 10 ^ (e - 14)) ? 0 : 1
      exit
    }
    END { exit found ? code : 1 }'
}

$(evaluator release) <"$work/lines" >"$work/release"
status=0
for build in "${builds[@]}"; do
  start=$(date +%s.%N)
  $(evaluator "$build") <"$work/lines" >"$work/$build"
  seconds=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", e - s }')
  paste -d'\n' "$work/lines" "$work/release" "$work/$build" |
    awk 'NR % 3 == 1 { line = $0 } NR % 3 == 2 { x87 = $0 } NR % 3 == 0 && $0 != x87 {
           print line; print x87; print $0 }' >"$work/differ"
  powers=0
  mismatches=0
  while IFS= read -r line && IFS= read -r x87 && IFS= read -r other; do
    if paste -d'|' <(solved release "$line") <(solved "$build" "$line") | power_last_digit; then
      powers=$((powers + 1))
      echo "  power, last digit: $line"
    else
      mismatches=$((mismatches + 1))
      echo "  MISMATCH: $line"
    fi
    echo "    x87:   $x87"
    echo "    $build: $other"
  done <"$work/differ"
  echo "$build against the x87 build: $total lines (seed $seed, $seconds s), $mismatches mismatches," \
    "$powers differ in a non-integer power's last digit"
  [ $mismatches -eq 0 ] || status=1
done
exit $status
