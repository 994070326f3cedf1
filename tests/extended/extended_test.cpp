// The software extended format: the hard cases of tests/cases/extended.txt
// with the x87's answers (checked everywhere, and against the FPU too where
// long double is the x87 format). Generated operands against the FPU:
// extended_compare.cpp, a short run in the tests, a long one through
// scripts/compare-extended.sh.
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "number/bit_cast.h"
#include "number/extended.h"
#include "testkit/case_file.h"
#include "testkit/extended_text.h"

namespace {

static_assert(SoftExtended(1) / 3 * 3 == 1, "the arithmetic is constexpr");

std::string Text(SoftExtended x) {
  return ExtendedText(x);
}
std::string Text(double d) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%016" PRIX64, BitCast<std::uint64_t>(d));
  return text;
}
std::string Text(Digits18 d) {
  return std::to_string(d.significand) + "e" + std::to_string(d.exponent);
}
std::string Order(std::partial_ordering order) {
  return order < 0 ? "lt" : order > 0 ? "gt" : order == 0 ? "eq" : "un";
}

// A value as T (the second argument only picks the type).
SoftExtended As(SoftExtended x, SoftExtended) {
  return x;
}
#ifdef LUMOCALC_X87_LONG_DOUBLE
long double As(SoftExtended x, long double) {
  return ToLongDouble(x);
}
#endif

// What a row's operation gives on T, as text; "" for one T doesn't do.
template <typename T>
std::string Apply(const Case& row) {
  constexpr bool kSoft = std::is_same_v<T, SoftExtended>;
  const std::string& op = row[0];
  const auto value = [&row](std::size_t field) { return As(ParseExtendedText(row[field]), T{}); };
  const auto text = [](T x) { return Text(ToSoft(x)); };
  if (op == "+") return text(value(1) + value(2));
  if (op == "-") return text(value(1) - value(2));
  if (op == "*") return text(value(1) * value(2));
  if (op == "/") return text(value(1) / value(2));
  if (op == "negate") return text(-value(1));
  if (op == "order") return Order(value(1) <=> value(2));
  if (op == "double") return Text(ToDouble(value(1)));
  if (op == "from double") {
    return text(static_cast<T>(BitCast<double>(std::stoull(row[1], nullptr, 16))));
  }
  if (op == "nearbyint") return text(NearbyInt(value(1)));
  if (op == "trunc") return text(Trunc(value(1)));
  if (op == "odd") return IsOddInteger(value(1)) ? "1" : "0";
  if (op == "int64") {  // undefined beyond the range for long double
    return kSoft || !IsNaN(value(1)) ? std::to_string(static_cast<std::int64_t>(value(1))) : "";
  }
  if (op == "log") return kSoft ? text(Log(value(1))) : "";
  if (op == "exp") return kSoft ? text(Exp(value(1))) : "";
  if (op == "is") {
    const T v = value(1);
    const std::string sign = SignBit(v) ? " negative" : "";
    if (IsNaN(v)) return "nan" + sign;
    return (IsInf(v) ? "inf" : IsFinite(v) ? "finite" : "?") + sign;
  }
  // In software, rows take both roads of the decimal conversions, which make
  // the exact comparison only near a rounding boundary. (On the FPU: its
  // library's strtold; compare-extended.sh holds the 18 digits against it.)
  if constexpr (kSoft) {
    using namespace extended_detail;
    const auto both = [](const std::string& fast, const std::string& exact) {
      return fast == exact ? fast : "roads part: " + fast + " " + exact;
    };
    const std::uint64_t digits = op == "decimal" ? std::stoull(row[1]) : 0;
    const std::int64_t scale = op == "decimal" ? std::stoll(row[2]) : 0;
    if (op == "decimal") {
      return both(text(SoftExactDecimal(digits, scale)),
                  text(ExactDecimalByComparison(digits, scale)));
    }
    if (op == "digits") {
      return both(Text(SoftExactDigits18(value(1))), Text(ExactDigits18ByComparison(value(1))));
    }
  } else if (op == "decimal") {
    return text(std::strtold((row[1] + "e" + row[2]).c_str(), nullptr));
  }
  return op == "digits" ? "" : "unknown operation";
}

class ExtendedTest : public testing::TestWithParam<Case> {};

TEST_P(ExtendedTest, GivesTheX87Bits) {
  const Case& row = GetParam();
  EXPECT_EQ(Apply<SoftExtended>(row), row.fields.back());
#ifdef LUMOCALC_X87_LONG_DOUBLE
  const std::string x87 = Apply<long double>(row);
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
    text += Text(ToSoft(x)) + " ";
  }
  return text;
}

TEST(Extended, LimitsAreLongDoubles) {
  EXPECT_EQ(Limits<SoftExtended>(), Limits<long double>());
}
#endif

}  // namespace
