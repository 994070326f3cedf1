// DecimalToExtended: digits x 10^scale, rounded once to the extended format.
// ParseNumber ends here, and so does the value a written number text is
// known to read back as.
#include <cstdint>

#include "eval/number_text.h"
#include "eval/powers.h"

Extended DecimalToExtended(std::uint64_t digits, std::int64_t scale) {
  // Both factors exact, so one operation rounds once.
  if (scale >= 0 && scale <= kExactPowers) return static_cast<Extended>(digits) * kExact.ten[scale];
  if (scale < 0 && scale >= -kExactPowers) {
    return static_cast<Extended>(digits) / kExact.ten[-scale];
  }
  // Rare: the exact conversion, the same on every machine.
  return ExactDecimal(digits, scale);
}
