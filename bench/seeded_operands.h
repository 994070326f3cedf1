// Operands for the extended type from a seed, the same on every machine, for
// the benchmark that times the software format and the FPU side by side.
#pragma once

#include <cstdint>

#include "number/soft_extended.h"

class SeededOperands {
 public:
  explicit SeededOperands(std::uint64_t seed) : state_(seed) {}

  // The next 64 random bits (a linear congruential step, its high bits
  // folded into the low ones).
  std::uint64_t Next() {
    state_ = state_ * 6364136223846793005 + 1442695040888963407;
    return state_ ^ (state_ >> 29);
  }

  // A finite value biased to hard ones: significands cut short or not,
  // subnormals, and exponents near the bottom of the range, the double
  // range's ends, 1 and the top of the range.
  SoftExtended Hard();

  // A number of the size a user types: exponents within 2^±40, any
  // significand.
  SoftExtended Typical();

 private:
  std::uint64_t state_;
};
