// ParseNumber, FormatNumber and FormatGrouped: what a number text is worth and
// how a value is written back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "eval/number_text.h"

namespace {

constexpr long double kTwoTo127 = 170141183460469231731687303715884105728.0L;

struct ParseCase {
  const char* name;
  std::string text;
  long double value;
};

class ParseNumberTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTest, ReadsTheLongestWellFormedBeginning) {
  const long double value = ParseNumber(GetParam().text);
  EXPECT_EQ(value, GetParam().value) << "text: " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseNumberTest,
    testing::Values(
        ParseCase{"empty", "", 0}, ParseCase{"integer", "12", 12},
        ParseCase{"leading_blank", " 12", 12}, ParseCase{"leading_tab", "\t12", 12},
        ParseCase{"leading_line_feed", "\n12", 12}, ParseCase{"carriage_return_ends", "\r12", 0},
        ParseCase{"trailing_letters", "12abc", 12}, ParseCase{"letters", "abc", 0},
        ParseCase{"blank_ends", "1 2", 1}, ParseCase{"comma_ends", "1,5", 1},
        ParseCase{"point_at_end", "5.", 5}, ParseCase{"point_first", ".5", 0.5L},
        ParseCase{"negative_point_first", "-.5", -0.5L}, ParseCase{"plus_sign", "+7", 7},
        ParseCase{"leading_zeros", "007", 7}, ParseCase{"zeros_after_point", ".005", 0.005L},
        ParseCase{"second_point_ends", "1.2.3", 1.2L}, ParseCase{"two_signs", "--5", 0},
        ParseCase{"plus_minus", "+-5", 0}, ParseCase{"sign_only", "-", 0},
        ParseCase{"point_only", ".", 0}, ParseCase{"marker_without_mantissa", "E5", 0},
        ParseCase{"upper_e", "1E5", 100000}, ParseCase{"lower_e", "1e5", 100000},
        ParseCase{"upper_d", "1D5", 100000}, ParseCase{"lower_d", "1d-2", 0.01L},
        ParseCase{"negative_exponent", "2E-3", 0.002L}, ParseCase{"marker_alone", "1E", 1},
        ParseCase{"marker_and_sign", "1E+", 1}, ParseCase{"rest_of_exponent", "1.5E+3.5", 1500},
        ParseCase{"exponent_after_point", "5.E2", 500},
        ParseCase{"eighteen_digits_used", "123456789012345678901", 123456789012345678000.0L},
        ParseCase{"eighteen_decimals_used", "1.23456789012345678901", 1.23456789012345678L},
        ParseCase{"dropped_digits_after_zeros", "0.000123456789012345678999",
                  0.000123456789012345678L},
        ParseCase{"largest_exponent_kept", "9E4931", 9E4931L},
        ParseCase{"too_large", "1E4932", kTwoTo127},
        ParseCase{"much_too_large", "1E99999", kTwoTo127},
        ParseCase{"too_large_by_digits", "1000E4929", kTwoTo127},
        ParseCase{"negative_too_large", "-1E5000", -kTwoTo127},
        ParseCase{"smallest_kept", "1E-4933", 1E-4933L}, ParseCase{"too_small", "1E-4934", 0},
        ParseCase{"too_small_by_zeros", ".001E-4931", 0},
        ParseCase{"exponent_capped", "1E-000000000000000000000000000000001", 0.1L},
        ParseCase{"huge_exponent_digits", "1E-99999999999999999999999999", 0},
        ParseCase{"only_zeros", "0000.0000E99999", 0},
        ParseCase{"display_of_infinity", "9.99999999999999E+998", 9.99999999999999E+998L},
        ParseCase{"radix", "&H1F", 31}, ParseCase{"radix_after_blanks", "  &B101", 5},
        ParseCase{"sign_before_radix", "-&H1F", -31}, ParseCase{"plus_before_radix", "+&H1F", 31},
        ParseCase{"sign_before_negative_radix", "-&H8000", 32768}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(ParseNumber, NegativeZeroIsNotBelowZero) {
  for (const char* text : {"-0", "-", "-.0", "-0E5"}) {
    EXPECT_FALSE(ParseNumber(text) < 0) << text;
    EXPECT_EQ(FormatNumber(ParseNumber(text)), " 0") << text;
  }
}

TEST(ParseNumber, RoundsOnceToTheExtendedFormat) {
  // Far outside the exactly representable powers of ten the value must still
  // be the nearest extended number.
  EXPECT_EQ(ParseNumber("1E300"), 1E300L);
  EXPECT_EQ(ParseNumber("1.7976931348623157E308"), 1.7976931348623157E308L);
  EXPECT_EQ(ParseNumber("4.9406564584124654E-324"), 4.9406564584124654E-324L);
  EXPECT_EQ(ParseNumber("123456789012345678E-40"), 123456789012345678E-40L);
}

struct FormatCase {
  const char* name;
  long double value;
  std::string text;
};

class FormatNumberTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, WritesAtMostFifteenSignificantDigits) {
  EXPECT_EQ(FormatNumber(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatNumberTest,
    testing::Values(
        FormatCase{"zero", 0, " 0"}, FormatCase{"negative_zero", -0.0L, " 0"},
        FormatCase{"nan", std::numeric_limits<long double>::quiet_NaN(), " 0"},
        FormatCase{"infinity", std::numeric_limits<long double>::infinity(),
                   " 9.99999999999999E+998"},
        FormatCase{"negative_infinity", -std::numeric_limits<long double>::infinity(),
                   "-9.99999999999999E+998"},
        FormatCase{"one", 1, " 1"}, FormatCase{"minus_one", -1, "-1"},
        FormatCase{"integer", 123, " 123"}, FormatCase{"half", 0.5, " .5"},
        FormatCase{"minus_half", -0.5, "-.5"}, FormatCase{"small_fraction", 0.05, " .05"},
        FormatCase{"mixed", 12.5, " 12.5"},
        FormatCase{"pi", 3.14159265358979323846, " 3.14159265358979"},
        FormatCase{"two_thirds", 2.0 / 3.0, " .666666666666667"},
        FormatCase{"one_third", 1.0 / 3.0, " .333333333333333"},
        FormatCase{"fifteen_nines", 999999999999999.0, " 999999999999999"},
        FormatCase{"fifteen_digits", 1E14, " 100000000000000"},
        FormatCase{"sixteen_digits", 1E15, " 1E+15"},
        FormatCase{"eighteen_digits", 123456789012345678.0, " 1.23456789012346E+17"},
        FormatCase{"carry_into_new_digit", 999999999999999.9, " 1E+15"},
        FormatCase{"carry_below_one", 0.9999999999999999, " 1"},
        FormatCase{"large", 1.5E20, " 1.5E+20"}, FormatCase{"five_decimals", 0.00001, " .00001"},
        FormatCase{"fifteen_decimals", 1E-15, " .000000000000001"},
        FormatCase{"sixteen_decimals", 1.5E-15, " 1.5E-15"}, FormatCase{"tiny", 1E-16, " 1E-16"},
        FormatCase{"one_thirtieth", 1.0 / 30.0, " 3.33333333333333E-2"},
        FormatCase{"small_mantissa", 0.000123456789012345678, " 1.23456789012346E-4"},
        FormatCase{"huge", 1E300, " 1E+300"}, FormatCase{"minute", 1E-300, " 1E-300"},
        FormatCase{"subnormal", 4.9406564584124654E-324, " 4.94065645841246E-324"},
        FormatCase{"largest_double", 1.7976931348623157E308, " 1.79769313486232E+308"},
        // 1 + 23 * 2^-52 is 1.00000000000000511 at 18 digits: the 16th digit is 5,
        // the 15th even, and the 17th and 18th are not looked at.
        FormatCase{"half_even_on_sixteenth", 1.0 + 23 * 0x1p-52, " 1"},
        // 2^-26 is 1.490116119384765625E-8: 1.49011611938476562 at 18 digits,
        // whose 16th digit 5 leaves the even 15th digit as it is.
        FormatCase{"five_after_even_digit", 0x1p-26, " 1.49011611938476E-8"},
        FormatCase{"odd_fifteenth_rounds_up", 1.000000000000015, " 1.00000000000002"},
        // 1.00000000000002509...: the 16th digit alone decides, 09 after it is ignored.
        FormatCase{"even_fifteenth_rounds_down", 1.000000000000025, " 1.00000000000002"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(FormatNumber, ReadsBackAsTheSameDouble) {
  // Every intermediate result travels as this text: 15 digits must read back
  // to a value that formats to the same text again.
  for (const double value : {1.0 / 3, 2.0 / 3, 0.1, 1E-7, 123.456, 6.02214076E23, 1E-320}) {
    const std::string text = FormatNumber(value);
    EXPECT_EQ(FormatNumber(static_cast<double>(ParseNumber(text))), text) << text;
  }
}

struct GroupedCase {
  const char* name;
  long double value;
  std::string text;
};

class FormatGroupedTest : public testing::TestWithParam<GroupedCase> {};

TEST_P(FormatGroupedTest, GroupsTheRoundedIntegerByThrees) {
  EXPECT_EQ(FormatGrouped(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatGroupedTest,
    testing::Values(
        GroupedCase{"zero", 0, "0"}, GroupedCase{"twelve", 12, "12"},
        GroupedCase{"three_digits", 123, "123"}, GroupedCase{"four_digits", 1234, "1,234"},
        GroupedCase{"negative", -1234567, "-1,234,567"},
        GroupedCase{"six_digits", 100000, "100,000"},
        GroupedCase{"negative_six_digits", -100000, "-100,000"},
        GroupedCase{"fifteen_nines", 999999999999999, "999,999,999,999,999"},
        GroupedCase{"eighteen_digits", 123456789012345678.0L, "123,456,789,012,345,678"},
        GroupedCase{"twenty_digits", 12345678901234567800.0L, "12,345,678,901,234,567,800"},
        GroupedCase{"nineteen_digits_rounded", 1234567890123456789.0L, "1,234,567,890,123,456,790"},
        GroupedCase{"half_to_even_down", 0.5, "0"}, GroupedCase{"half_to_even_up", 1.5, "2"},
        GroupedCase{"two_and_half", 2.5, "2"}, GroupedCase{"three_and_half", 3.5, "4"},
        GroupedCase{"above_half", 2.501, "3"}, GroupedCase{"negative_half", -2.5, "-2"},
        GroupedCase{"negative_to_zero", -0.5, "0"}, GroupedCase{"negative_zero", -0.0L, "0"},
        GroupedCase{"carry_to_thousand", 999.5, "1,000"},
        GroupedCase{"two_to_127", kTwoTo127,
                    "170,141,183,460,469,232,000,000,000,000,000,000,000"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(FormatGrouped, WritesHugeValuesInFull) {
  const std::string text = FormatGrouped(1E4000L);
  EXPECT_EQ(text.substr(0, 6), "10,000");
  EXPECT_EQ(text.size(), 4001u + 4000u / 3);
  EXPECT_EQ(text.find_first_not_of("0,", 1), std::string::npos);
}

}  // namespace

namespace {

// The value a written text is known to read back as must be what reading it
// gives: the solver takes it instead of reading the text again.
TEST(FormatNumberInto, KnowsWhatItsTextReadsBackAs) {
  std::mt19937_64 random(3);
  for (int i = 0; i < 200000; ++i) {
    std::uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (i % 2 == 0)
      value = static_cast<double>(random() % 100000) / static_cast<double>(1 + random() % 997);
    NumberText text;
    FormatNumberInto(value, text);
    const long double read = ParseNumber(text.View());
    ASSERT_EQ(read, text.read_back.Value()) << text.View();
  }
}

}  // namespace
