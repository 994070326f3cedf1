// The software extended format: a table of hard cases with the x87's answers
// (checked everywhere, and against the FPU too where long double is the x87
// format), then a few thousand generated operands against the FPU.
// The long comparison is scripts/compare-extended.sh.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "eval/extended.h"

namespace {

static_assert(SoftExtended(1) / 3 * 3 == 1, "the arithmetic is constexpr");

// "+3FFF:8000000000000000": sign, biased exponent, significand.
SoftExtended Parse(const std::string& text) {
  return SoftExtended::FromFields(text[0] == '-', std::stoul(text.substr(1, 4), nullptr, 16),
                                  std::stoull(text.substr(6), nullptr, 16));
}
std::string Text(SoftExtended x) {
  char text[32];
  std::snprintf(text, sizeof text, "%c%04X:%016" PRIX64, x.negative() ? '-' : '+', x.exponent(),
                x.significand());
  return text;
}
std::string Text(double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  char text[24];
  std::snprintf(text, sizeof text, "0x%016" PRIX64, bits);
  return text;
}
std::string Text(Digits18 d) {
  return std::to_string(d.significand) + "e" + std::to_string(d.exponent);
}
std::string Order(std::partial_ordering order) {
  return order < 0 ? "lt" : order > 0 ? "gt" : order == 0 ? "eq" : "un";
}

constexpr const char* kOne = "+3FFF:8000000000000000";
constexpr const char* kTwo = "+4000:8000000000000000";
constexpr const char* kZero = "+0000:0000000000000000";
constexpr const char* kNegativeZero = "-0000:0000000000000000";
constexpr const char* kInfinity = "+7FFF:8000000000000000";
constexpr const char* kIndefinite = "-7FFF:C000000000000000";
constexpr const char* kMax = "+7FFE:FFFFFFFFFFFFFFFF";
constexpr const char* kMinNormal = "+0001:8000000000000000";
constexpr const char* kMinSubnormal = "+0000:0000000000000001";

struct Case {
  char op;  // + - * / m (negate) < (order) d (to double) f (from double) n t o i l e D G: see Apply
  const char* a;
  const char* b;
  const char* expected;
};

const Case kCases[] = {
    // Rounding to nearest, ties to even, at the 64th bit.
    {'+', kOne, "+3FBF:8000000000000000", kOne},  // 1 + 2^-64: a tie, down
    {'+', "+3FFF:8000000000000001", "+3FBF:8000000000000000", "+3FFF:8000000000000002"},  // up
    {'+', kOne, "+3FBF:8000000000000001", "+3FFF:8000000000000001"},  // just above the tie
    {'-', kOne, "+3FBE:8000000000000000", kOne},                      // 1 - 2^-65: a tie
    {'-', kOne, "+3F37:8000000000000000", kOne},                      // 1 - 2^-200
    {'-', "+3FFF:8000000000000001", kOne, "+3FC0:8000000000000000"},  // cancellation, exact
    {'-', kOne, "+3FFE:FFFFFFFFFFFFFFFF", "+3FBF:8000000000000000"},  // to the last bit
    {'*', "+3FFF:FFFFFFFFFFFFFFFF", "+3FFF:FFFFFFFFFFFFFFFF", "+4000:FFFFFFFFFFFFFFFE"},
    {'/', kOne, "+4000:C000000000000000", "+3FFD:AAAAAAAAAAAAAAAB"},  // 1/3
    {'/', kTwo, "+4000:C000000000000000", "+3FFE:AAAAAAAAAAAAAAAB"},  // 2/3
    // Signed zeros.
    {'-', "+4000:C000000000000000", "+4000:C000000000000000", kZero},
    {'+', kNegativeZero, kNegativeZero, kNegativeZero},
    {'+', kZero, kNegativeZero, kZero},
    {'*', kNegativeZero, kTwo, kNegativeZero},
    // Overflow, and invalid operations.
    {'+', kMax, kMax, kInfinity},
    {'*', kMax, kTwo, kInfinity},
    {'/', kMax, "+3FFE:8000000000000000", kInfinity},
    {'-', kInfinity, kInfinity, kIndefinite},
    {'*', kZero, kInfinity, kIndefinite},
    {'/', kZero, kZero, kIndefinite},
    {'/', kOne, kZero, kInfinity},
    {'/', "-3FFF:8000000000000000", kZero, "-7FFF:8000000000000000"},
    // Subnormals: rounded at their own last bit.
    {'+', "+0000:7FFFFFFFFFFFFFFF", kMinSubnormal, kMinNormal},
    {'-', kMinNormal, kMinSubnormal, "+0000:7FFFFFFFFFFFFFFF"},
    {'*', kMinNormal, "+3FBF:8000000000000000", kZero},  // half the smallest: tie
    {'*', kMinNormal, "+3FC0:C000000000000000", "+0000:0000000000000002"},  // 1.5: tie, up
    {'/', kMinSubnormal, kTwo, kZero},
    {'*', kMinNormal, "+3FFE:FFFFFFFFFFFFFFFF", kMinNormal},  // a tie, up out of the subnormals
    {'/', "+0000:0000000000000003", kTwo, "+0000:0000000000000002"},
    // Encodings the x87 never makes, and NaNs.
    {'+', "+0000:8000000000000000", kZero, kMinNormal},  // a pseudo-denormal is exponent 1
    {'+', "+4000:4000000000000000", kOne, kIndefinite},  // an unnormal is invalid
    {'+', "+7FFF:C000000000000001", kOne, "+7FFF:C000000000000001"},
    {'*', "+7FFF:8000000000000001", kOne, "+7FFF:C000000000000001"},  // made quiet
    {'+', "+7FFF:BFFFFFFFFFFFFFFF", "+7FFF:C000000000000000", "+7FFF:C000000000000000"},
    {'+', "-7FFF:C000000000000000", "+7FFF:C000000000000000", "+7FFF:C000000000000000"},
    // Negation (m) and order.
    {'m', kOne, nullptr, "-3FFF:8000000000000000"},
    {'m', kIndefinite, nullptr, "+7FFF:C000000000000000"},
    {'<', kZero, kNegativeZero, "eq"},
    {'<', "-0000:0000000000000001", kNegativeZero, "lt"},
    {'<', "+7FFF:C000000000000000", "+7FFF:C000000000000000", "un"},
    {'<', kInfinity, kMax, "gt"},
    // To double: once, at the 53rd bit or a subnormal's last.
    {'d', "+3FFF:8000000000000400", nullptr, "0x3FF0000000000000"},
    {'d', "+3FFF:8000000000000401", nullptr, "0x3FF0000000000001"},
    {'d', "+3FFF:8000000000000C00", nullptr, "0x3FF0000000000002"},
    {'d', "+43FE:FFFFFFFFFFFFFC00", nullptr, "0x7FF0000000000000"},  // a tie above the largest
    {'d', "+3BCC:8000000000000000", nullptr, "0x0000000000000000"},  // 2^-1075: a tie
    {'d', "+3BCD:C000000000000000", nullptr, "0x0000000000000002"},  // 3 x 2^-1075
    {'d', "+7FFF:C000000000000800", nullptr, "0x7FF8000000000001"},
    {'f', "0x0000000000000001", nullptr, "+3BCD:8000000000000000"},
    {'f', "0x7FF0000000000001", nullptr, "+7FFF:C000000000000800"},
    // nearbyint (n), trunc (t), odd integer (o).
    {'n', "+3FFE:8000000000000000", nullptr, kZero},
    {'n', "+3FFF:C000000000000000", nullptr, kTwo},
    {'n', "+4000:A000000000000000", nullptr, kTwo},
    {'n', "-3FFE:8000000000000000", nullptr, kNegativeZero},
    {'n', "+3FFE:8000000000000001", nullptr, kOne},
    {'t', "-3FFF:C000000000000000", nullptr, "-3FFF:8000000000000000"},
    {'i', "-4000:E000000000000000", nullptr, "-3"},  // to int64, truncated
    {'i', "+403D:FFFFFFFFFFFFFFFF", nullptr, "9223372036854775807"},
    {'i', kIndefinite, nullptr, "-9223372036854775808"},  // the x87's integer indefinite
    {'o', "-4000:C000000000000000", nullptr, "1"},
    {'o', "+403E:8000000000000001", nullptr, "1"},
    {'o', "+403F:8000000000000000", nullptr, "0"},
    {'o', "+3FFF:C000000000000000", nullptr, "0"},
    // Decimal digits x 10^scale (D): ties, the ends of the range.
    {'D', "3", "27", "+405A:9B18AB5DF7180B6C"},
    {'D', "18446744073709551615", "-10", "+401D:DBE6FECEBDEDD5BE"},
    {'D', "1", "4932", "+7FFE:D72CB2A95C7EF6CD"},
    {'D', "12", "4931", kInfinity},
    {'D', "4", "-4951", kMinSubnormal},
    {'D', "1", "-4951", kZero},
    {'D', "1", "-4932", "+0000:261247C8F29357F0"},
    // The 18 digits of a value (G).
    {'G', "+403E:AB54A98CEB1F0AAA", nullptr, "123456789012345678e19"},  // ...678|50: a tie
    {'G', "+403E:AB54A98CEB1F0B0E", nullptr, "123456789012345680e19"},  // ...679|50: a tie
    {'G', kMinSubnormal, nullptr, "364519953188247460e-4951"},
    {'G', kMax, nullptr, "118973149535723177e4932"},
    // Log and Exp, correctly rounded here (the x87 library is within an ulp).
    {'l', kTwo, nullptr, "+3FFE:B17217F7D1CF79AC"},
    {'l', "+3FFF:8000000000000001", nullptr, "+3FBF:FFFFFFFFFFFFFFFF"},
    {'l', kOne, nullptr, kZero},
    {'l', kZero, nullptr, "-7FFF:8000000000000000"},
    {'l', "-3FFF:8000000000000000", nullptr, kIndefinite},
    {'e', kOne, nullptr, "+4000:ADF85458A2BB4A9B"},
    {'e', "+4005:C800000000000000", nullptr, "+408F:9A4A54D8B8DFA566"},  // e^100
    {'e', "-3FBE:8000000000000000", nullptr, kOne},
    {'e', "-3FBE:8000000000000001", nullptr, "+3FFE:FFFFFFFFFFFFFFFF"},
    {'e', "+400C:BB80000000000000", nullptr, kInfinity},  // e^12000
    {'e', "-7FFF:8000000000000000", nullptr, kZero},
    {'l', "+3FFF:C000000000000000", nullptr, "+3FFD:CF991F65FCC25F96"},  // ln 1.5
    {'l', "+3FFE:C000000000000000", nullptr, "-3FFD:934B1089A6DC93C2"},  // ln 0.75
    {'l', kMinSubnormal, nullptr, "-400C:B21B38B6AA03736C"},
    {'e', "-3FFF:8000000000000000", nullptr, "+3FFD:BC5AB1B16779BE35"},
    {'e', "-400C:B1F8000000000000", nullptr, "+0000:0000000000001A0E"},  // e^-11390
    {'e', "+400C:B170000000000000", nullptr, "+7FFE:97AE01B5ED4A38FC"},  // e^11356
};

template <typename T>
T As(SoftExtended x) {
  return x;
}
#ifdef LUMOCALC_X87_LONG_DOUBLE
template <>
long double As<long double>(SoftExtended x) {
  return ToLongDouble(x);
}
#endif

// What the case's operation gives on T, as text; "" for one T doesn't do.
template <typename T>
std::string Apply(const Case& c) {
  const auto value = [](const char* text) { return As<T>(Parse(text)); };
  const auto text = [](T x) { return Text(ToSoft(x)); };
  switch (c.op) {
    case '+':
      return text(value(c.a) + value(c.b));
    case '-':
      return text(value(c.a) - value(c.b));
    case '*':
      return text(value(c.a) * value(c.b));
    case '/':
      return text(value(c.a) / value(c.b));
    case 'm':
      return text(-value(c.a));
    case '<':
      return Order(value(c.a) <=> value(c.b));
    case 'd':
      return Text(ToDouble(value(c.a)));
    case 'f': {
      const std::uint64_t bits = std::stoull(c.a, nullptr, 16);
      double d;
      std::memcpy(&d, &bits, sizeof d);
      return text(static_cast<T>(d));
    }
    case 'n':
      return text(NearbyInt(value(c.a)));
    case 't':
      return text(Trunc(value(c.a)));
    case 'o':
      return IsOddInteger(value(c.a)) ? "1" : "0";
    case 'i':  // undefined beyond the range for long double
      if (std::is_same_v<T, SoftExtended> || !IsNaN(value(c.a))) {
        return std::to_string(static_cast<std::int64_t>(value(c.a)));
      }
      return "";
    case 'D':
      if constexpr (std::is_same_v<T, SoftExtended>) {
        return text(SoftExactDecimal(std::stoull(c.a), std::stoll(c.b)));
      } else {
        return text(std::strtold((std::string(c.a) + "e" + c.b).c_str(), nullptr));
      }
    case 'G':
      if constexpr (std::is_same_v<T, SoftExtended>) {
        return Text(SoftExactDigits18(value(c.a)));
      } else {
        char printed[64];
        *std::to_chars(printed, printed + 63, value(c.a), std::chars_format::scientific, 17).ptr =
            '\0';
        return std::string(1, printed[0]) + std::string(printed + 2, 17) + "e" +
               std::to_string(std::atoi(printed + 20));
      }
    case 'l':
      return std::is_same_v<T, SoftExtended> ? text(Log(value(c.a))) : "";
    case 'e':
      return std::is_same_v<T, SoftExtended> ? text(Exp(value(c.a))) : "";
  }
  return "unknown operation";
}

TEST(ExtendedTest, HardCasesGiveTheX87Bits) {
  for (const Case& c : kCases) {
    const std::string what = std::string(1, c.op) + " " + c.a + " " + (c.b ? c.b : "");
    EXPECT_EQ(Apply<SoftExtended>(c), c.expected) << what;
#ifdef LUMOCALC_X87_LONG_DOUBLE
    const std::string x87 = Apply<long double>(c);
    if (!x87.empty()) {
      EXPECT_EQ(x87, c.expected) << what << " on the FPU";
    }
#endif
  }
}

// Code written against Extended builds with both types: the calculator's
// power rule, checked on both.
template <typename T>
double Power(T x, T y) {
  if (x < 0) y = NearbyInt(y);
  if (y == 0) return 1;
  if (x == 0) return ToDouble(y > 0 ? T(0) : std::numeric_limits<T>::quiet_NaN());
  if (Trunc(y) == y && Abs(y) < 65536) {
    T r = 1;
    for (auto n = static_cast<std::uint32_t>(Abs(y)); n > 0; --n) r *= x;
    return ToDouble(y < 0 ? 1 / r : r);
  }
  const T r = Exp(y * Log(Abs(x)));
  return ToDouble(x < 0 && IsOddInteger(y) ? -r : r);
}

TEST(ExtendedTest, EngineCodeBuildsWithEitherType) {
  const double kPowers[][3] = {{2, 10, 1024},  {-2, 3, -8},    {-8, 1.5, 64},
                               {2, -3, 0.125}, {0, 0, 1},      {-8, 0.5, 1},
                               {9, 0.5, 3},    {-3, 3.4, -27}, {10, 0.1, 1.2589254117941673}};
  for (const auto& c : kPowers) {
    EXPECT_EQ(Power<SoftExtended>(c[0], c[1]), c[2]) << c[0] << " ^ " << c[1];
    EXPECT_EQ(Power<Extended>(c[0], c[1]), c[2]) << c[0] << " ^ " << c[1] << " as Extended";
#ifdef LUMOCALC_X87_LONG_DOUBLE
    EXPECT_EQ(Power<long double>(c[0], c[1]), c[2]) << c[0] << " ^ " << c[1] << " on the FPU";
#endif
  }
}

#ifdef LUMOCALC_X87_LONG_DOUBLE
TEST(ExtendedTest, LimitsAreLongDoubles) {
  using Soft = std::numeric_limits<SoftExtended>;
  using Hard = std::numeric_limits<long double>;
  EXPECT_EQ(Soft::digits, Hard::digits);
  EXPECT_EQ(Soft::digits10, Hard::digits10);
  EXPECT_EQ(Soft::max_digits10, Hard::max_digits10);
  EXPECT_EQ(Soft::min_exponent, Hard::min_exponent);
  EXPECT_EQ(Soft::min_exponent10, Hard::min_exponent10);
  EXPECT_EQ(Soft::max_exponent, Hard::max_exponent);
  EXPECT_EQ(Soft::max_exponent10, Hard::max_exponent10);
  EXPECT_EQ(Soft::is_iec559, Hard::is_iec559);
  EXPECT_EQ(Soft::tinyness_before, Hard::tinyness_before);
  for (const auto& [soft, hard] : {std::pair{Soft::min(), Hard::min()},
                                   {Soft::max(), Hard::max()},
                                   {Soft::lowest(), Hard::lowest()},
                                   {Soft::epsilon(), Hard::epsilon()},
                                   {Soft::round_error(), Hard::round_error()},
                                   {Soft::infinity(), Hard::infinity()},
                                   {Soft::quiet_NaN(), Hard::quiet_NaN()},
                                   {Soft::signaling_NaN(), Hard::signaling_NaN()},
                                   {Soft::denorm_min(), Hard::denorm_min()}}) {
    EXPECT_EQ(Text(soft), Text(ToSoft(hard)));
  }
}
#endif

TEST(ExtendedTest, PortableWideArithmeticAgreesWithTheCompilers) {
  std::uint64_t state = 7;
  for (int i = 0; i < 2000; ++i) {
    state = state * 6364136223846793005 + 1442695040888963407;
    const std::uint64_t a = state ^ (state >> 31);
    const std::uint64_t b = i % 2 == 0 ? state | std::uint64_t{1} << 63 : (state >> (i % 64)) | 1;
    EXPECT_EQ(Mul64Portable(a, b), Mul64(a, b));
    const U128 n{a % b, state * 3};
    std::uint64_t r1 = 0, r2 = 0;
    EXPECT_EQ(Div128By64Portable(n, b, &r1), Div128By64(n, b, &r2));
    EXPECT_EQ(r1, r2);
  }
}

// Generated operands, biased to hard ones, against the FPU: all four
// operations, order and the conversions.
TEST(ExtendedTest, GeneratedOperandsGiveTheFpusBits) {
#ifndef LUMOCALC_X87_LONG_DOUBLE
  GTEST_SKIP() << "long double is not the x87 format here";
#else
  std::uint64_t state = 11;
  auto next = [&state] {
    state = state * 6364136223846793005 + 1442695040888963407;
    return state ^ (state >> 29);
  };
  auto operand = [&] {
    const std::uint64_t top = next() | SoftExtended::kLeadingBit;
    const std::uint64_t significand =
        next() % 3 == 0 ? top : top & ~((std::uint64_t{1} << (next() % 64)) - 1);
    static constexpr int kExponents[] = {0, 1, 0x3C00, 0x3FFF, 0x43FF, 0x7FFE};
    const int base = kExponents[next() % 6];
    const auto exponent = static_cast<unsigned>(
        base == 0 ? 0 : std::clamp(base + static_cast<int>(next() % 141) - 70, 1, 0x7FFE));
    return SoftExtended::FromFields(next() % 2 == 0, exponent,
                                    exponent == 0 ? significand >> (1 + next() % 63) : significand);
  };
  for (int i = 0; i < 4000; ++i) {
    const SoftExtended a = operand();
    const SoftExtended b = next() % 4 == 0 ? a * SoftExtended(1 + next() % 3) : operand();
    const long double x = ToLongDouble(a), y = ToLongDouble(b);
    const std::string what = Text(a) + " " + Text(b);
    EXPECT_EQ(Text(a + b), Text(ToSoft(x + y))) << what;
    EXPECT_EQ(Text(a - b), Text(ToSoft(x - y))) << what;
    EXPECT_EQ(Text(a * b), Text(ToSoft(x * y))) << what;
    EXPECT_EQ(Text(a / b), Text(ToSoft(x / y))) << what;
    EXPECT_EQ(Order(a <=> b), Order(x <=> y)) << what;
    EXPECT_EQ(Text(ToDouble(a)), Text(ToDouble(x))) << what;
    EXPECT_EQ(Text(NearbyInt(a)), Text(ToSoft(NearbyInt(x)))) << what;
    const std::uint64_t digits = next() >> (next() % 64);
    const std::int64_t scale = static_cast<std::int64_t>(next() % 9900) - 4960;
    const std::string decimal = std::to_string(digits) + "e" + std::to_string(scale);
    EXPECT_EQ(Text(SoftExactDecimal(digits, scale)),
              Text(ToSoft(std::strtold(decimal.c_str(), nullptr))))
        << decimal;
  }
#endif
}

}  // namespace
