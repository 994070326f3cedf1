// The exact decimal digits of a value, rounded once to 18 significant digits,
// to nearest with ties to even. FormatNumber and FormatGrouped both start here.
#pragma once

#include <cstdint>

struct DecimalDigits {
  std::uint64_t significand;  // 18 digits: 10^17 <= significand < 10^18
  int exponent;               // value = significand x 10^(exponent - 17)
};

// magnitude must be finite and above zero.
DecimalDigits SignificantDigits18(long double magnitude);
