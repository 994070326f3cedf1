// The two engines give the same answers on a fixed sample of generated lines
// of every shape. scripts/differential.sh runs millions more.
#include <gtest/gtest.h>

#include <string>

#include "testkit/engine_comparison.h"
#include "testkit/line_generator.h"

namespace {

class DifferentialTest : public testing::TestWithParam<int> {};

TEST_P(DifferentialTest, EnginesAgree) {
  LineGenerator lines(static_cast<std::uint64_t>(GetParam()));
  int mismatches = 0;
  for (int i = 0; i < 15000 && mismatches < 10; ++i) {
    const std::string mismatch = Mismatch(lines.Next());
    if (!mismatch.empty()) {
      ADD_FAILURE() << mismatch;
      ++mismatches;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, DifferentialTest, testing::Values(1, 2, 3, 20261206));

}  // namespace
