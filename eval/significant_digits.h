// The exact decimal digits of a value, rounded once to 18 significant digits,
// to nearest with ties to even. FormatNumber and FormatGrouped both start here.
#pragma once

#include <cassert>
#include <cstdint>

#include "number/extended.h"

// magnitude must be finite and above zero. The same digits as
// ExactDigits18's, on faster roads where they are sure.
Digits18 SignificantDigits18(Extended magnitude);
Digits18 SignificantDigits18(double magnitude);

// x rounded to the nearest integer, ties to even, for 0 <= x < 2^62. Adding
// 2^63 leaves the integer in the extended format's 64-bit significand (the
// low eight bytes of an x87 value), so no float-to-integer conversion, and
// none of the rounding-mode switches it costs on the x87, is needed.
inline std::uint64_t NearestInteger(Extended x) {
  constexpr std::uint64_t kTwoTo63 = std::uint64_t{1} << 63;
  assert(x >= 0 && x < static_cast<Extended>(kTwoTo63 / 2));
  const Extended shifted = x + static_cast<Extended>(kTwoTo63);
  return ToSoft(shifted).significand() - kTwoTo63;
}
