// The tables of tests/cases/, answered by both engines: the one-pass engine of
// the delivered build and the step engine of the traced build.
#include <gtest/gtest.h>

#include <string>

#include "eval/display.h"
#include "eval/solv.h"
#include "eval/steps/steps.h"
#include "eval/text.h"
#include "tests/case_file.h"
#include "tests/differential/compare.h"

namespace {

// A row gives the display value only; the line is echoed in front of it.
std::string Expected(const Case& row) {
  if (row[1].empty() || row[1] == kErrorText) return row[1];
  return row[0] + " = " + row[1];
}

class CalculateTest : public testing::TestWithParam<Case> {};

TEST_P(CalculateTest, BothEnginesShow) {
  const Case& row = GetParam();
  EXPECT_EQ(Shown(row[0]), Expected(row)) << "one-pass engine";
  std::string shown;
  AppendDisplayed(row[0], steps::Eval, shown);
  EXPECT_EQ(shown, Expected(row)) << "step engine";
}

INSTANTIATE_TEST_SUITE_P(Table, CalculateTest, testing::ValuesIn(ReadCases("calculate.txt")));

class SolvTest : public testing::TestWithParam<Case> {};

TEST_P(SolvTest, BothEnginesSolve) {
  EXPECT_EQ(Solv(GetParam()[0]), GetParam()[1]) << "one-pass engine";
  EXPECT_EQ(steps::Solv(GetParam()[0]), GetParam()[1]) << "step engine";
}

INSTANTIATE_TEST_SUITE_P(Table, SolvTest, testing::ValuesIn(ReadCases("solv.txt")));

class OperTest : public testing::TestWithParam<Case> {};

TEST_P(OperTest, ReducesTheLeftmostOccurrence) {
  EXPECT_EQ(steps::Oper(GetParam()[0], GetParam()[1]), GetParam()[2]);
}

INSTANTIATE_TEST_SUITE_P(Table, OperTest, testing::ValuesIn(ReadCases("oper.txt")));

}  // namespace
