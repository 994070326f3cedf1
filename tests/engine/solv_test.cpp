// Solv: precedence, order and the solver's own refusals.
#include <gtest/gtest.h>

#include <string>

#include "eval/solv.h"
#include "eval/text.h"

namespace {

struct SolvCase {
  std::string expression;
  std::string result;
};

class SolvTest : public testing::TestWithParam<SolvCase> {};

TEST_P(SolvTest, Solves) {
  EXPECT_EQ(Solv(GetParam().expression), GetParam().result);
}

const std::string kError(kErrorText);

INSTANTIATE_TEST_SUITE_P(
    PrecedenceAndOrder, SolvTest,
    testing::Values(SolvCase{"2 + 3 * 4 ^ 2 - 1", "49"}, SolvCase{"2 ^ 3 ^ 2", "64"},
                    SolvCase{"-2 ^ 2", "4"}, SolvCase{"8 / 2 * 4", "16"},
                    SolvCase{"10 - 4 - 3", "3"}, SolvCase{"10 - 4 - 10 - 4", "-8"},
                    SolvCase{"3 ^ 2 ^ 3 ^ 2", "531441"}, SolvCase{"6 / 0 + 1", "1"},
                    SolvCase{"7 + 2 * 3 + 12 * 34", "421"}, SolvCase{"2 - -4", "6"},
                    SolvCase{"-5 + 1", "-4"}, SolvCase{"1 / 3 * 3", ".999999999999999"},
                    SolvCase{"1e5 + 1", "100001"}, SolvCase{"1E+20 - 1E+20", "0"},
                    SolvCase{"1E+300 * 1E+300", "9.99999999999999E+998"}));

INSTANTIATE_TEST_SUITE_P(ReturnedAsTheyAre, SolvTest,
                         testing::Values(SolvCase{"", "0"}, SolvCase{"   ", "0"},
                                         SolvCase{" 1 + 2 ", "3"}, SolvCase{"5", "5"},
                                         SolvCase{"-5", "-5"}, SolvCase{"007", "007"},
                                         SolvCase{"1.2.3", "1.2.3"}, SolvCase{"--3", "--3"},
                                         SolvCase{"E", "E"}, SolvCase{".", "."},
                                         SolvCase{" 12 ", "12"}));

INSTANTIATE_TEST_SUITE_P(
    Refused, SolvTest,
    testing::Values(SolvCase{"+5", kError}, SolvCase{"* 2", kError}, SolvCase{"5 -", kError},
                    SolvCase{"5 *", kError}, SolvCase{"-", kError}, SolvCase{"( 5", kError},
                    SolvCase{"5 (", kError}, SolvCase{"3 4", kError}, SolvCase{"2 x 3", kError},
                    SolvCase{"1e5", kError}, SolvCase{"2 * a", kError}, SolvCase{"2 * * 3", kError},
                    SolvCase{"- 3 + 1", kError}, SolvCase{"1 ) + 2", kError},
                    SolvCase{"2\t", kError}, SolvCase{std::string("2\0", 2), kError},
                    SolvCase{"&H1F", kError}));

}  // namespace
