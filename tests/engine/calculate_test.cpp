// Calculate: the text the window shows for a typed line.
#include <gtest/gtest.h>

#include <string>

#include "eval/calculate.h"
#include "eval/text.h"

namespace {

struct CalculateCase {
  const char* name;
  std::string line;
  std::string shown;
};

class CalculateTest : public testing::TestWithParam<CalculateCase> {};

TEST_P(CalculateTest, Shows) {
  EXPECT_EQ(Calculate(GetParam().line), GetParam().shown);
}

const std::string kError(kErrorText);

auto Name = [](const auto& test) { return std::string(test.param.name); };

INSTANTIATE_TEST_SUITE_P(
    Lines, CalculateTest,
    testing::Values(CalculateCase{"empty", "", ""}, CalculateCase{"blanks", "   ", ""},
                    CalculateCase{"tab_is_no_blank", "\t", kError},
                    CalculateCase{"sum", "2+3", "2+3 = 5"},
                    CalculateCase{"echoed_as_typed", " 2+3 ", " 2+3  = 5"},
                    CalculateCase{"precedence", "2+3*4", "2+3*4 = 14"},
                    CalculateCase{"one_third", "1/3", "1/3 = 0 , 333333"},
                    CalculateCase{"cut_not_rounded", "2/3", "2/3 = 0 , 666666"},
                    CalculateCase{"scientific_fraction", "1/30", "1/30 = 3 , 333333 E-2"},
                    CalculateCase{"negative_fraction", "1-1.5", "1-1.5 = -0 , 5"},
                    CalculateCase{"negative_quarter", "-1/4", "-1/4 = -0 , 25"},
                    CalculateCase{"grouped", "1000000*1000000",
                                  "1000000*1000000 = 1 000 000 000 000"},
                    CalculateCase{"exponent_only", "1E10*1E10", "1E10*1E10 = 1 E+20"},
                    CalculateCase{"decimal_comma", "1,5*2", "1,5*2 = 3"},
                    CalculateCase{"sign_only", "+", "+ = 0"},
                    CalculateCase{"overflow", "1E300^2", "1E300^2 = 9 , 999999 E+998"},
                    CalculateCase{"negative_overflow", "-1E300^3", "-1E300^3 = -9 , 999999 E+998"},
                    CalculateCase{"nan_is_zero", "0^-1", "0^-1 = 0"},
                    CalculateCase{"large_power", "3^40", "3^40 = 1 , 215766 E+19"},
                    CalculateCase{"radix_operands", "&H1F*&B11", "&H1F*&B11 = 93"},
                    CalculateCase{"radix_without_decimal_digit", "&HFF+1", kError},
                    CalculateCase{"radix_alone", "&H1F", kError},
                    CalculateCase{"octal_ends", "&18+0", "&18+0 = 1"},
                    CalculateCase{"pasted_history", "2+3 = 5", kError},
                    CalculateCase{"division_by_zero", "8/0", "8/0 = 0"}),
    Name);

// A line without an operator comes back as typed; its display is taken apart
// by the same positions as any result.
INSTANTIATE_TEST_SUITE_P(
    LoneNumbers, CalculateTest,
    testing::Values(
        CalculateCase{"integer", "5", "5 = 5"}, CalculateCase{"negative", "-5", "-5 = -5"},
        CalculateCase{"zero", "0", "0 = 0"},
        CalculateCase{"seven_digits", "1234567", "1234567 = 1 234 567"},
        CalculateCase{"negative_seven", "-1234567", "-1234567 = -1 234 567"},
        CalculateCase{"fifteen_digits", "100000000000000", "100000000000000 = 100 000 000 000 000"},
        CalculateCase{"decimals", "12345.6789", "12345.6789 = 12 345 , 6789"},
        CalculateCase{"many_decimals", "3.14159265358979", "3.14159265358979 = 3 , 141592"},
        CalculateCase{"leading_point", ".5", ".5 = 0 , 5"},
        CalculateCase{"negative_leading_point", "-.5", "-.5 = -0 , 5"},
        CalculateCase{"tiny", ".0000001", ".0000001 = 0 , 000000"},
        CalculateCase{"exponent_text", "1.5E20", "1.5E20 = 1 , 5 E20"},
        CalculateCase{"leading_zeros", "007", "007 = 7"},
        CalculateCase{"twenty_digits", "12345678901234567890",
                      "12345678901234567890 = 12 345 678 901 234 567 800"},
        CalculateCase{"point_at_end", "5.", "5. = 5 , "},
        CalculateCase{"point_alone", ".", ". = 0 , "},
        CalculateCase{"two_points", "1.2.3", "1.2.3 = 1 , 2.3"},
        CalculateCase{"point_then_exponent", ".5E3", ".5E3 = 0 , 5 E3"},
        CalculateCase{"exponent_then_point", "1E5.5", "1E5.5 = 100 000 , 5 E5.5"},
        CalculateCase{"point_right_before_exponent", "5.E3", "5.E3 = 5 ,  E3"},
        CalculateCase{"marker_alone", "E", "E = 0 E"},
        CalculateCase{"negative_zero", "-0", "-0 = 0"},
        CalculateCase{"lower_case_exponent", "1e5", kError},
        CalculateCase{"exponent_sign", "1E-5", "1E-5 = 1 E-5"},
        CalculateCase{"lower_case_exponent_sign", "1e-5", kError}),
    Name);

// A glued "-" and a negative group answer cancel; a typed exponent keeps its
// sign; a sign applies to a radix text. Lines a reader would otherwise see
// answered wrongly.
INSTANTIATE_TEST_SUITE_P(
    SoundSigns, CalculateTest,
    testing::Values(
        CalculateCase{"negated_group", "-(2-5)", "-(2-5) = 3"},
        CalculateCase{"power_of_negated_group", "2^-(1-3)", "2^-(1-3) = 4"},
        CalculateCase{"divided_by_negated_group", "10/-(1-3)", "10/-(1-3) = 5"},
        CalculateCase{"nested_negation", "3-(-(2-5))", "3-(-(2-5)) = 0"},
        CalculateCase{"twice_negated", "-(-(2-5))", "-(-(2-5)) = -3"},
        CalculateCase{"sign_binds_to_group", "-(2-5)^2", "-(2-5)^2 = 9"},
        CalculateCase{"identical_negated_groups", "-(1-3)*-(1-3)+(1-3)", "-(1-3)*-(1-3)+(1-3) = 2"},
        CalculateCase{"positive_answer", "-(1+2)", "-(1+2) = -3"},
        CalculateCase{"exponent_minus", "1E-5*2", "1E-5*2 = 0 , 00002"},
        CalculateCase{"mixed_exponents", "6.67e-11*5.97E+24",
                      "6.67e-11*5.97E+24 = 398 199 000 000 000"},
        CalculateCase{"comma_mantissa", "1,5E-3*2", "1,5E-3*2 = 0 , 003"},
        CalculateCase{"exponent_plus", "1E+5*2", "1E+5*2 = 200 000"},
        CalculateCase{"d_marker", "1D-2+1", "1D-2+1 = 1 , 01"},
        CalculateCase{"exponent_in_group", "(1E-5)*2", "(1E-5)*2 = 0 , 00002"},
        CalculateCase{"negated_group_and_exponent", "-(2-5)*1E-5", "-(2-5)*1E-5 = 0 , 00003"},
        CalculateCase{"negative_radix", "-&H1F+1", "-&H1F+1 = -30"},
        CalculateCase{"radix_after_times", "2*-&H10", "2*-&H10 = -32"},
        CalculateCase{"negated_negative_radix", "-&H8000*1", "-&H8000*1 = 32 768"}),
    Name);

// What users rely on, and stays as it is.
INSTANTIATE_TEST_SUITE_P(
    KeptReadings, CalculateTest,
    testing::Values(CalculateCase{"minus_binds_to_number", "-2^2", "-2^2 = 4"},
                    CalculateCase{"minus_binds_to_group", "-(2)^2", "-(2)^2 = 4"},
                    CalculateCase{"minus_operator_before_group", "2-(1-5)", "2-(1-5) = 6"},
                    CalculateCase{"negative_base_rounds_exponent", "(-8)^0.5", "(-8)^0.5 = 1"},
                    CalculateCase{"longest_number_beginning", "1.5.2+1", "1.5.2+1 = 2 , 5"},
                    CalculateCase{"radix_exponent_is_hex", "&H1E-5", "&H1E-5 = 25"},
                    CalculateCase{"radix_exponent_octal", "&1E-5", "&1E-5 = -4"},
                    CalculateCase{"mantissa_with_two_points", "1.2.3E-1*1", "1.2.3E-1*1 = 0 , 2"},
                    CalculateCase{"sign_run", "--5", kError},
                    CalculateCase{"sign_run_after_times", "2*--3", kError}),
    Name);

}  // namespace
