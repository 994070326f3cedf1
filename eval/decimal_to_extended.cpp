// DecimalToExtended: digits x 10^scale, rounded once to the extended format.
// ParseNumber ends here, and so does the value a written number text is
// known to read back as.
#include <charconv>
#include <cstdint>
#include <cstdlib>

#include "eval/number_text.h"
#include "eval/powers.h"

long double DecimalToExtended(std::uint64_t digits, std::int64_t scale) {
  // Both factors exact, so one operation rounds once.
  if (scale >= 0 && scale <= kExactPowers)
    return static_cast<long double>(digits) * kExact.ten[scale];
  if (scale < 0 && scale >= -kExactPowers) {
    return static_cast<long double>(digits) / kExact.ten[-scale];
  }
  // Rare: let the C library's exact conversion do it. The text holds no
  // decimal point, so no locale can change its meaning.
  char text[48];
  char* end = std::to_chars(text, text + 24, digits).ptr;
  *end++ = 'e';
  end = std::to_chars(end, text + sizeof text - 1, scale).ptr;
  *end = '\0';
  return std::strtold(text, nullptr);
}
