// The powers of ten and five that are exact: 10^27 = 2^27 x 5^27 and
// 5^27 < 2^64, so up to 10^27 a power of ten fits the extended format's
// 64-bit significand, and a power of five a 64-bit integer. A number times
// or divided by one of them is rounded once.
#pragma once

#include <cstdint>

#include "number/extended.h"

inline constexpr int kExactPowers = 27;

struct ExactPowers {
  Extended ten[kExactPowers + 1];
  std::uint64_t five[kExactPowers + 1];
  constexpr ExactPowers() : ten{}, five{} {
    Extended power_of_ten = 1;
    std::uint64_t power_of_five = 1;
    for (int i = 0; i <= kExactPowers; ++i) {
      ten[i] = power_of_ten;
      five[i] = power_of_five;
      power_of_ten *= 10;
      power_of_five *= 5;
    }
  }
};
inline constexpr ExactPowers kExact;
