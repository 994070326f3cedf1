// The solver's precedence levels (kLevels of eval/rules.h) as a table from
// character to level, for the sweeps and the operator chain alike.
#pragma once

#include <bit>
#include <cstdint>
#include <iterator>

#include "eval/rules.h"

namespace fast {

// For each character, the levels (bits, in the order of kLevels) it is an
// operator of.
struct LevelTable {
  std::uint8_t mask[256] = {};
  constexpr LevelTable() {
    for (unsigned index = 0; index < std::size(kLevels); ++index) {
      mask[static_cast<unsigned char>(kLevels[index].first)] |= 1U << index;
      if (kLevels[index].second != 0) {
        mask[static_cast<unsigned char>(kLevels[index].second)] |= 1U << index;
      }
    }
  }
};
inline constexpr LevelTable kLevelOf;

inline bool IsOperatorCharacter(char c) {
  return kLevelOf.mask[static_cast<unsigned char>(c)] != 0;
}

// The level of an operator character: its index in kLevels, so that a
// smaller level binds tighter.
inline int LevelOf(char op) {
  return std::countr_zero(kLevelOf.mask[static_cast<unsigned char>(op)]);
}

}  // namespace fast
