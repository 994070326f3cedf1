// The number conversions take shortcuts for common values; the reference's
// conversions take none. Both must give the same texts and values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "eval/number_text.h"
#include "tests/reference/reference.h"

namespace {

double FromBits(std::uint64_t bits) {
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

TEST(NumberTextDifferential, FormatNumberOfRandomDoubles) {
  std::mt19937_64 random(42);
  for (int i = 0; i < 300000; ++i) {
    double d = FromBits(random());
    if (i % 3 == 0)
      d = std::ldexp(static_cast<double>(random() % 100000000), -static_cast<int>(random() % 60));
    if (i % 3 == 1)
      d = static_cast<double>(random() % 2000000) / static_cast<double>(1 + random() % 1000);
    if (!std::isfinite(d)) continue;
    ASSERT_EQ(FormatNumber(d), reference::FormatNumber(d)) << std::hexfloat << d;
    ASSERT_EQ(FormatGrouped(d), reference::FormatGrouped(d)) << std::hexfloat << d;
  }
}

TEST(NumberTextDifferential, ValuesNearRoundingTies) {
  // Exact ties and near-ties at the 18th digit: k + 1/2 units of the 18th
  // digit, and the doubles right next to them.
  for (const double base : {1.490116119384765625E-8, 0.5, 1.5, 2.5, 1234567890123456.5, 0.125}) {
    for (double d = base, n = 0; n < 8; ++n, d = std::nextafter(d, 1e300)) {
      EXPECT_EQ(FormatNumber(d), reference::FormatNumber(d)) << std::hexfloat << d;
      EXPECT_EQ(FormatGrouped(d), reference::FormatGrouped(d)) << std::hexfloat << d;
    }
  }
  for (int e = -40; e < 40; ++e) {
    const double d = std::ldexp(1.0, e);
    EXPECT_EQ(FormatNumber(d), reference::FormatNumber(d)) << e;
  }
}

TEST(NumberTextDifferential, ParseNumberOfRandomTexts) {
  std::mt19937_64 random(7);
  const std::string alphabet = "0123456789012345678901234567890123456789.eE+-&HhBbO";
  for (int i = 0; i < 200000; ++i) {
    std::string text(random() % 30, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    const long double got = ParseNumber(text);
    const long double want = reference::ParseNumber(text);
    ASSERT_TRUE(got == want || (std::isnan(got) && std::isnan(want))) << text;
  }
}

}  // namespace
