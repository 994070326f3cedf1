// Eval: cleaning, repairing and spacing a typed line, then its groups.
// Which text reaches the solver is checked in the trace tests; here the answers.
#include <gtest/gtest.h>

#include <string>

#include "eval/eval.h"
#include "eval/text.h"

namespace {

struct EvalCase {
  const char* name;
  std::string line;
  std::string result;
};

class EvalTest : public testing::TestWithParam<EvalCase> {};

TEST_P(EvalTest, Answers) {
  EXPECT_EQ(Eval(GetParam().line), GetParam().result) << GetParam().line;
}

const std::string kError(kErrorText);

auto Name = [](const auto& test) { return std::string(test.param.name); };

INSTANTIATE_TEST_SUITE_P(
    Refusals, EvalTest,
    testing::Values(EvalCase{"blank_line", "   ", "0"}, EvalCase{"equals_first", "=2", kError},
                    EvalCase{"pasted_history", "2+3 = 5", kError},
                    EvalCase{"starts_with_times", "*5", kError},
                    EvalCase{"starts_with_divide", "/5", kError},
                    EvalCase{"starts_with_power", "^2", kError},
                    EvalCase{"two_operators", "**", kError}, EvalCase{"minus", "-", "0"},
                    EvalCase{"plus", "+", "0"}, EvalCase{"minus_blanked", " - ", "0"},
                    EvalCase{"two_signs", "--", kError}, EvalCase{"plus_minus", "+-", kError},
                    EvalCase{"signs_and_point", "+.-", kError},
                    EvalCase{"one_operator_no_digit", "a+1", kError}),
    Name);

INSTANTIATE_TEST_SUITE_P(
    Cleaning, EvalTest,
    testing::Values(
        EvalCase{"plain", "2+3*4", "14"}, EvalCase{"blanks_and_comma", " 1 , 5 * 2", "3"},
        EvalCase{"blanks_inside_number", "1 000+1", "1001"},
        EvalCase{"every_comma_decimal", "1,000.5*2", "2"}, EvalCase{"leading_plus", "+5", "5"},
        EvalCase{"leading_minus", "-5+3", "-2"}, EvalCase{"lone_exponent_sign", "1E-5", "1E-5"},
        EvalCase{"exponent_sign_kept", "1E+5*2", "200000"}, EvalCase{"tab_kept", "2\t+3", "5"},
        EvalCase{"lone_number", "007", "007"}, EvalCase{"lone_malformed", "1.2.3", "1.2.3"},
        EvalCase{"dangling_end", "2+3*", "5"}, EvalCase{"dangling_run", "2+3*-^", "5"}),
    Name);

INSTANTIATE_TEST_SUITE_P(
    Signs, EvalTest,
    testing::Values(
        EvalCase{"times_minus", "2*-3", "-6"}, EvalCase{"divide_plus", "2/+3", ".666666666666667"},
        EvalCase{"minus_minus", "2--3", "5"}, EvalCase{"plus_minus", "2+-3", "-1"},
        EvalCase{"power_minus", "3^-2", ".111111111111111"}, EvalCase{"group_minus", "(-3)", "-3"},
        EvalCase{"group_plus", "(+3)*2", "6"}, EvalCase{"three_minus", "1---5", kError},
        EvalCase{"minus_minus_five", "--5", kError}, EvalCase{"plus_minus_five", "+-5", kError},
        EvalCase{"minus_plus_five", "-+5", kError}, EvalCase{"times_two_minus", "2*--3", kError},
        EvalCase{"minus_plus", "2-+3", "-1"}, EvalCase{"plus_plus", "2++3", "5"}),
    Name);

INSTANTIATE_TEST_SUITE_P(
    Parentheses, EvalTest,
    testing::Values(
        EvalCase{"group_first", "(1+2)*3", "9"}, EvalCase{"adjacent_groups", "(1+2)(3+4)", "21"},
        EvalCase{"identical_groups", "(1+2)*(1+2)", "9"}, EvalCase{"nested", "((1+2)*3", "9"},
        EvalCase{"deep", "((((2))))", "2"}, EvalCase{"closed_only", "2+3)", "5"},
        EvalCase{"close_first", ")2", kError}, EvalCase{"open_at_end", "5*(", "0"},
        EvalCase{"open_alone", "(", "0"}, EvalCase{"number_before_group", "2(3)", kError},
        EvalCase{"minus_group", "-(2+3)", "-5"}, EvalCase{"negative_answer", "2-(1-5)", "6"},
        EvalCase{"minus_negative_answer", "-(2-5)", "3"},
        EvalCase{"repaired_operator", "(5*)", "5"}, EvalCase{"repaired_once", "(5--)", kError},
        EvalCase{"repaired_open_once", "(**5)", kError}, EvalCase{"group_error", "(1+a)*2", kError},
        EvalCase{"worked_example", " -2,5*(3+-1)(4*", "-20"},
        EvalCase{"empty_group_product", "2*()", "0"}),
    Name);

// A ")" before its "(" leaves no group to reduce; such a line must end, with
// the error text, instead of looping for ever.
INSTANTIATE_TEST_SUITE_P(ClosingBeforeOpening, EvalTest,
                         testing::Values(EvalCase{"between_numbers", "2)+(3", kError},
                                         EvalCase{"pair_reversed", ")(", kError},
                                         EvalCase{"number_pair_reversed", "5)(", kError},
                                         EvalCase{"after_a_group", "(1)+2)+(3", kError},
                                         EvalCase{"reversed_twice", ")()(", kError}),
                         Name);

}  // namespace
