#include "bench/seeded_operands.h"

#include <algorithm>

SoftExtended SeededOperands::Hard() {
  const std::uint64_t top = Next() | SoftExtended::kLeadingBit;
  const std::uint64_t significand =
      Next() % 3 == 0 ? top : top & ~((std::uint64_t{1} << (Next() % 64)) - 1);
  static constexpr int kExponents[] = {0, 1, 0x3C00, 0x3FFF, 0x43FF, 0x7FFE};
  const int base = kExponents[Next() % 6];
  const auto exponent = static_cast<unsigned>(
      base == 0 ? 0 : std::clamp(base + static_cast<int>(Next() % 141) - 70, 1, 0x7FFE));
  return SoftExtended::FromFields(Next() % 2 == 0, exponent,
                                  exponent == 0 ? significand >> (1 + Next() % 63) : significand);
}

SoftExtended SeededOperands::Typical() {
  return SoftExtended::FromFields((Next() & 1) != 0, SoftExtended::kBias - 40 + Next() % 80,
                                  Next() | SoftExtended::kLeadingBit);
}
