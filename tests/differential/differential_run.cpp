// The long differential run: `differential-run COUNT SEED` compares COUNT
// generated lines and prints the first mismatches; exit code 1 if any.
// With --lines it prints the lines instead, escaped as lumocalc-eval
// --escaped reads them, to compare builds with (scripts/compare-soft-engine.sh).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/escape.h"
#include "number/fpu_control.h"
#include "testkit/engine_comparison.h"
#include "testkit/line_generator.h"

int main(int argc, char** argv) {
  LoadFpuControlWord();
  const long count = argc > 1 ? std::atol(argv[1]) : 1000000;
  const unsigned long long seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
  LineGenerator lines(seed);
  if (argc > 3 && std::string(argv[3]) == "--lines") {
    for (long i = 0; i < count; ++i) std::puts(Escape(lines.Next()).c_str());
    return 0;
  }
  long mismatches = 0;
  for (long i = 0; i < count; ++i) {
    const std::string mismatch = Mismatch(lines.Next());
    if (mismatch.empty()) continue;
    if (++mismatches <= 20) std::printf("%s\n", mismatch.c_str());
  }
  std::printf("%ld lines, seed %llu: %ld mismatches\n", count, seed, mismatches);
  return mismatches == 0 ? 0 : 1;
}
