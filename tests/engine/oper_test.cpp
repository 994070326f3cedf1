// Oper: one reduction, its operand bounds and its arithmetic.
#include <gtest/gtest.h>

#include <string>

#include "eval/oper.h"
#include "eval/text.h"

namespace {

struct OperCase {
  std::string expression;
  std::string op;
  std::string result;
};

class OperTest : public testing::TestWithParam<OperCase> {};

TEST_P(OperTest, ReducesTheLeftmostOccurrence) {
  EXPECT_EQ(Oper(GetParam().expression, GetParam().op), GetParam().result)
      << "«" << GetParam().expression << "» with " << GetParam().op;
}

const std::string kError(kErrorText);

INSTANTIATE_TEST_SUITE_P(
    OperandBounds, OperTest,
    testing::Values(OperCase{"2 * 3 + 4", "*", "6 + 4"},
                    OperCase{"7 + 2 * 3 + 12 * 34", "*", "7 + 6 + 12 * 34"},
                    OperCase{"10 - 4 - 10 - 4", "-", "6 - 10 - 4"},
                    OperCase{"2 ^ 3 ^ 2", "^", "8 ^ 2"},
                    OperCase{"3 ^ 2 ^ 3 ^ 2", "^", "9 ^ 3 ^ 2"},
                    OperCase{"2 * -3 - 1", "*", "-6 - 1"}, OperCase{"  2 * 3  ", "*", "6"},
                    OperCase{"1E+20 + 1", "+", "1E+20"}, OperCase{"8 / 0 + 1", "/", "0 + 1"},
                    OperCase{"x1 * 2", "*", "0"}, OperCase{"1.2.3 * 2", "*", "2.4"},
                    OperCase{"2\t * 3", "*", "6"}, OperCase{"&H1F * 2", "*", "62"}));

INSTANTIATE_TEST_SUITE_P(NothingToReduce, OperTest,
                         testing::Values(OperCase{"5", "*", "5"}, OperCase{"5 *", "*", "5 *"},
                                         OperCase{" 5*3 ", "*", "5*3"}, OperCase{"", "+", ""}));

INSTANTIATE_TEST_SUITE_P(
    NonNumeralOperands, OperTest,
    testing::Values(OperCase{"a * 2", "*", kError}, OperCase{"2 * a", "*", kError},
                    OperCase{"5 *  3", "*", kError}, OperCase{"5  * 3", "*", kError},
                    OperCase{"2 * * 3", "*", kError}, OperCase{"&HFF + 1", "+", kError},
                    OperCase{"1 + - 5", "+", kError}));

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, OperTest,
    testing::Values(OperCase{"2 * -3", "*", "-6"}, OperCase{"1 / 4", "/", ".25"},
                    OperCase{"8 / 0", "/", "0"}, OperCase{"8 / -0", "/", "0"},
                    OperCase{"0 / 0", "/", "0"}, OperCase{"1 / 3", "/", ".333333333333333"},
                    OperCase{"0.1 + 0.2", "+", ".3"}, OperCase{"1 - 1.5", "-", "-.5"},
                    OperCase{"1E+20 + 1", "+", "1E+20"},
                    OperCase{"1E+300 * 1E+300", "*", "9.99999999999999E+998"},
                    OperCase{"-1E+300 * 1E+300", "*", "-9.99999999999999E+998"},
                    OperCase{"1E-300 * 1E-300", "*", "0"},
                    OperCase{"9.99999999999999E+998 - 1", "-", "9.99999999999999E+998"},
                    OperCase{"1E+4000 / 1E+3990", "/", "10000000000"}));

INSTANTIATE_TEST_SUITE_P(
    Powers, OperTest,
    testing::Values(OperCase{"-2 ^ 2", "^", "4"}, OperCase{"-2 ^ 3", "^", "-8"},
                    OperCase{"-8 ^ 0.5", "^", "1"}, OperCase{"-8 ^ 1.5", "^", "64"},
                    OperCase{"-8 ^ 2.5", "^", "64"}, OperCase{"-8 ^ -2.5", "^", ".015625"},
                    OperCase{"0 ^ 0", "^", "1"}, OperCase{"5 ^ 0", "^", "1"},
                    OperCase{"0 ^ 2", "^", "0"}, OperCase{"0 ^ -1", "^", "0"},
                    OperCase{"2 ^ 10", "^", "1024"}, OperCase{"2 ^ -3", "^", ".125"},
                    OperCase{"2 ^ 0.5", "^", "1.4142135623731"}, OperCase{"4 ^ 0.5", "^", "2"},
                    OperCase{"1.5 ^ 2", "^", "2.25"}, OperCase{"10 ^ -400", "^", "0"},
                    OperCase{"3 ^ 40", "^", "1.21576654590569E+19"},
                    OperCase{"2 ^ 65536", "^", "9.99999999999999E+998"},
                    OperCase{"-2 ^ 65536", "^", "9.99999999999999E+998"},
                    OperCase{"-2 ^ 65537", "^", "-9.99999999999999E+998"},
                    OperCase{"-1 ^ 1E+20", "^", "1"}, OperCase{"-1 ^ 65537", "^", "-1"},
                    OperCase{"0.5 ^ 65536", "^", "0"}, OperCase{"1 ^ 1E+4000", "^", "1"},
                    OperCase{"1.0000001 ^ 1E+10", "^", "9.99999999999999E+998"}));

}  // namespace
