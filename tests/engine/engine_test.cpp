// The tables of tests/cases/, answered by both engines: the fast engine of
// the delivered build and the step engine of the traced build.
#include <gtest/gtest.h>

#include <string>

#include "eval/display.h"
#include "eval/fast/solv.h"
#include "eval/steps/eval.h"
#include "eval/steps/oper.h"
#include "eval/steps/solv.h"
#include "eval/text.h"
#include "testkit/case_file.h"
#include "testkit/engine_comparison.h"

namespace {

// A row gives the display value only; the line is echoed in front of it.
std::string Expected(const Case& row) {
  if (row[1].empty() || row[1] == kErrorText) return row[1];
  return row[0] + " = " + row[1];
}

class CalculateTest : public testing::TestWithParam<Case> {};

TEST_P(CalculateTest, BothEnginesShow) {
  const Case& row = GetParam();
  EXPECT_EQ(Shown(row[0]), Expected(row)) << "fast engine";
  std::string shown;
  AppendDisplayed(row[0], steps::EvalForDisplay, shown);
  EXPECT_EQ(shown, Expected(row)) << "step engine";
}

INSTANTIATE_TEST_SUITE_P(Table, CalculateTest, testing::ValuesIn(ReadCases("calculate.txt")));

class SolvTest : public testing::TestWithParam<Case> {};

TEST_P(SolvTest, BothEnginesSolve) {
  // The fast engine's refusal is no text: the row's "Erreur de syntaxe" stands for it.
  EXPECT_EQ(fast::Solv(GetParam()[0]).value_or(std::string(kErrorText)), GetParam()[1])
      << "fast engine";
  EXPECT_EQ(steps::Solv(GetParam()[0]), GetParam()[1]) << "step engine";
}

INSTANTIATE_TEST_SUITE_P(Table, SolvTest, testing::ValuesIn(ReadCases("solv.txt")));

class OperTest : public testing::TestWithParam<Case> {};

TEST_P(OperTest, ReducesTheLeftmostOccurrence) {
  EXPECT_EQ(steps::Oper(GetParam()[0], GetParam()[1]), GetParam()[2]);
}

INSTANTIATE_TEST_SUITE_P(Table, OperTest, testing::ValuesIn(ReadCases("oper.txt")));

}  // namespace
