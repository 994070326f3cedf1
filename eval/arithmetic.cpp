#include "eval/arithmetic.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "eval/number_text.h"

namespace {

constexpr long double kMultipliedOutBelow = 65536;

// r = x^|n| by squaring from the leading bit down, each product rounded to
// the extended format; 1/r for a negative n.
long double MultipliedOut(long double x, long double n) {
  const auto bits = static_cast<std::uint32_t>(std::fabs(n));
  int bit = 31;
  while (((bits >> bit) & 1U) == 0) --bit;
  long double r = x;
  for (--bit; bit >= 0; --bit) {
    r = r * r;
    if (((bits >> bit) & 1U) != 0) r = r * x;
  }
  return n < 0 ? 1 / r : r;
}

}  // namespace

long double Power(long double x, long double y) {
  const bool negative_base = x < 0;
  if (negative_base) y = std::nearbyint(y);  // ties to even, from the FPU's mode
  if (y == 0) return 1;
  if (x == 0) return y > 0 ? 0 : std::numeric_limits<long double>::quiet_NaN();
  const bool integer = std::trunc(y) == y;
  if (integer && std::fabs(y) < kMultipliedOutBelow) return MultipliedOut(x, y);
  const long double r = std::exp(y * std::log(std::fabs(x)));
  const bool odd = negative_base && std::fmod(y, 2.0L) != 0;
  return odd ? -r : r;
}
