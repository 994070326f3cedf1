// The engine gives the same answers (and, built with the trace, the same
// trace) as the straightforward text-rewriting reference, on a fixed sample of
// generated lines of every shape. scripts/differential.sh runs millions more.
#include <gtest/gtest.h>

#include <string>

#include "tests/differential/compare.h"
#include "tests/differential/line_generator.h"

namespace {

constexpr int kLinesPerSeed = DEBUG_LOG ? 3000 : 15000;

class DifferentialTest : public testing::TestWithParam<int> {};

TEST_P(DifferentialTest, AgreesWithTheReference) {
  LineGenerator lines(static_cast<std::uint64_t>(GetParam()));
  int mismatches = 0;
  for (int i = 0; i < kLinesPerSeed && mismatches < 10; ++i) {
    const std::string mismatch = Mismatch(lines.Next());
    if (!mismatch.empty()) {
      ADD_FAILURE() << mismatch;
      ++mismatches;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, DifferentialTest, testing::Values(1, 2, 3, 20261206));

// Lines that once told the two apart, or came close.
TEST(Differential, KnownDelicateLines) {
  for (const char* line : {"2)+(3",        ")(",        "5)(",     "(1+2)*(1+2)",
                           "((1+2)*3",     "-(2-5)",    "2-(1-5)", "(1)+(1)+((1))",
                           "1---5",        "2*--3",     "(5--)",   "(**5)",
                           "5*(",          ")2",        "2(3)",    "1E+5*2",
                           "&HFFFF+1&&*2", "1/3*3",     "2^3^2",   "-2^2",
                           "1e5+1",        "1,000.5*2", "(1+a)*2", "((1+2)+(1+2))*(1+2)"}) {
    EXPECT_EQ(Mismatch(line), "");
  }
}

}  // namespace
