#include "eval/arithmetic.h"

#include <cstdint>
#include <limits>

#include "eval/number_text.h"

namespace {

constexpr Extended kMultipliedOutBelow = 65536;

// r = x^|n| by squaring from the leading bit down, each product rounded to
// the extended format; 1/r for a negative n.
Extended MultipliedOut(Extended x, Extended n) {
  const auto bits = static_cast<std::uint32_t>(Abs(n));
  int bit = 31;
  while (((bits >> bit) & 1U) == 0) --bit;
  Extended r = x;
  for (--bit; bit >= 0; --bit) {
    r = r * r;
    if (((bits >> bit) & 1U) != 0) r = r * x;
  }
  return n < 0 ? 1 / r : r;
}

}  // namespace

Extended Power(Extended x, Extended y) {
  const bool negative_base = x < 0;
  if (negative_base) y = NearbyInt(y);  // ties to even, from the FPU's mode
  if (y == 0) return 1;
  if (x == 0) return y > 0 ? 0 : std::numeric_limits<Extended>::quiet_NaN();
  const bool integer = Trunc(y) == y;
  if (integer && Abs(y) < kMultipliedOutBelow) return MultipliedOut(x, y);
  const Extended r = Exp(y * Log(Abs(x)));
  const bool odd = negative_base && IsOddInteger(y);
  return odd ? -r : r;
}
