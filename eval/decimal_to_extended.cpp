// DecimalToExtended: digits x 10^scale, rounded once to the extended format.
// ParseNumber ends here, and so does the value a written number text is
// known to read back as.
#include <charconv>
#include <cstdint>
#include <cstdlib>

#include "eval/number_text.h"

namespace {

// Exact powers of ten: 10^27 = 2^27 * 5^27 and 5^27 < 2^64.
constexpr int kExactPowers = 27;
constexpr long double PowerOfTen(int n) {
  long double p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}
constexpr long double kPowersOfTen[kExactPowers + 1] = {
    PowerOfTen(0),  PowerOfTen(1),  PowerOfTen(2),  PowerOfTen(3),  PowerOfTen(4),  PowerOfTen(5),
    PowerOfTen(6),  PowerOfTen(7),  PowerOfTen(8),  PowerOfTen(9),  PowerOfTen(10), PowerOfTen(11),
    PowerOfTen(12), PowerOfTen(13), PowerOfTen(14), PowerOfTen(15), PowerOfTen(16), PowerOfTen(17),
    PowerOfTen(18), PowerOfTen(19), PowerOfTen(20), PowerOfTen(21), PowerOfTen(22), PowerOfTen(23),
    PowerOfTen(24), PowerOfTen(25), PowerOfTen(26), PowerOfTen(27)};

}  // namespace

long double DecimalToExtended(std::uint64_t digits, std::int64_t scale) {
  // Both factors exact, so one operation rounds once.
  if (scale >= 0 && scale <= kExactPowers)
    return static_cast<long double>(digits) * kPowersOfTen[scale];
  if (scale < 0 && scale >= -kExactPowers) {
    return static_cast<long double>(digits) / kPowersOfTen[-scale];
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
