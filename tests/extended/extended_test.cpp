// The software extended format: the hard cases of tests/cases/extended.txt
// with the x87's answers (checked everywhere, and against the FPU too where
// long double is the x87 format), through testkit/extended_ops.h. Generated operands against the
// FPU: extended_compare.cpp, a short run in the tests, a long one through
// scripts/compare-extended.sh.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "number/extended.h"
#include "testkit/case_file.h"
#include "testkit/extended_ops.h"

namespace {

static_assert(SoftExtended(1) / 3 * 3 == 1, "the arithmetic is constexpr");

class ExtendedTest : public testing::TestWithParam<Case> {};

TEST_P(ExtendedTest, GivesTheX87Bits) {
  const Case& row = GetParam();
  EXPECT_EQ(Apply<SoftExtended>(row.fields), row.fields.back());
#ifdef LUMOCALC_X87_LONG_DOUBLE
  const std::string x87 = Apply<long double>(row.fields);
  if (!x87.empty()) {
    EXPECT_EQ(x87, row.fields.back()) << "on the FPU";
  }
#endif
}

INSTANTIATE_TEST_SUITE_P(Table, ExtendedTest, testing::ValuesIn(ReadCases("extended.txt")));

#ifdef LUMOCALC_X87_LONG_DOUBLE
// A type's limits, as one text.
template <typename T>
std::string Limits() {
  using L = std::numeric_limits<T>;
  std::string text;
  for (const int n : {L::digits, L::digits10, L::max_digits10, L::min_exponent, L::min_exponent10,
                      L::max_exponent, L::max_exponent10, L::radix, static_cast<int>(L::has_denorm),
                      static_cast<int>(L::round_style)}) {
    text += std::to_string(n) + " ";
  }
  for (const bool b : {L::is_iec559, L::tinyness_before, L::has_denorm_loss, L::has_infinity,
                       L::has_quiet_NaN, L::has_signaling_NaN, L::traps, L::is_signed,
                       L::is_integer, L::is_exact, L::is_bounded, L::is_modulo}) {
    text += b ? "1 " : "0 ";
  }
  for (const T x : {L::min(), L::max(), L::lowest(), L::epsilon(), L::round_error(), L::infinity(),
                    L::quiet_NaN(), L::signaling_NaN(), L::denorm_min()}) {
    text += ExtendedText(ToSoft(x)) + " ";
  }
  return text;
}

TEST(Extended, LimitsAreLongDoubles) {
  EXPECT_EQ(Limits<SoftExtended>(), Limits<long double>());
}
#endif

}  // namespace
