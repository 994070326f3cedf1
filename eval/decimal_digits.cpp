#include "eval/decimal_digits.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// Exact powers of ten: 10^27 = 2^27 * 5^27 and 5^27 < 2^64.
constexpr int kExactPowers = 27;
constexpr long double PowerOfTen(int n) {
  long double p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}
struct PowersOfTen {
  long double value[kExactPowers + 1];
  constexpr PowersOfTen() : value{} {
    for (int i = 0; i <= kExactPowers; ++i) value[i] = PowerOfTen(i);
  }
};
constexpr PowersOfTen kPowers;

constexpr std::uint64_t kTenTo17 = 100000000000000000ULL;
constexpr std::uint64_t kTenTo18 = 1000000000000000000ULL;

// The common case without any library call. magnitude x 10^k, with 10^k exact,
// is one extended operation: its error is below 2^-5 for an 18-digit result
// (under 2^60, so its last bit is worth at most 2^-4). Rounding to an integer
// is therefore decided unless the fraction lies near one half, where an exact
// tie (to be broken to even) can't be told from a near one: those values, and
// magnitudes too far from 1 for an exact power of ten, take the exact road.
bool FastDigits(long double magnitude, DecimalDigits& out) {
  // The binary exponent, read from the value as a double; subnormal doubles
  // and values beyond the double range land outside the exact powers below.
  const double narrow = static_cast<double>(magnitude);
  std::uint64_t bits;
  std::memcpy(&bits, &narrow, sizeof bits);
  const int binary_exponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
  // log10(2) x binary exponent, rounded down, is the decimal exponent or one less.
  int exponent = binary_exponent * 78913 / 262144;  // 78913 / 2^18 = log10(2) - 2e-7
  if (binary_exponent < 0) exponent -= 1;           // the division truncated towards zero
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int scale = 17 - exponent;
    if (scale > kExactPowers || scale < -kExactPowers) return false;
    const long double scaled =
        scale >= 0 ? magnitude * kPowers.value[scale] : magnitude / kPowers.value[-scale];
    if (scaled >= 1e18L) {
      ++exponent;
      continue;
    }
    if (scaled < 1e17L) return false;
    auto whole = static_cast<std::uint64_t>(scaled);  // truncated: scaled is positive
    const long double fraction = scaled - static_cast<long double>(whole);
    if (fraction > 0.4375L && fraction < 0.5625L) return false;
    if (fraction > 0.5L) ++whole;
    if (whole == kTenTo18) {
      whole = kTenTo17;
      ++exponent;
    }
    out.significand = whole;
    out.exponent = exponent;
    return true;
  }
  return false;
}

// std::to_chars prints the exact binary value correctly rounded.
DecimalDigits ExactDigits(long double magnitude) {
  char text[64];
  std::to_chars_result printed;
  const double narrow = static_cast<double>(magnitude);
  if (static_cast<long double>(narrow) == magnitude) {
    printed = std::to_chars(text, text + sizeof text, narrow, std::chars_format::scientific, 17);
  } else {
    printed = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 17);
  }
  // "d.ddddddddddddddddde+XX"
  DecimalDigits out{};
  out.significand = static_cast<std::uint64_t>(text[0] - '0');
  for (int i = 2; i < 19; ++i)
    out.significand = out.significand * 10 + static_cast<std::uint64_t>(text[i] - '0');
  const char* at = text + 20;  // past "e"
  const bool negative = *at == '-';
  int exponent = 0;
  for (++at; at < printed.ptr; ++at) exponent = exponent * 10 + (*at - '0');
  out.exponent = negative ? -exponent : exponent;
  return out;
}

}  // namespace

DecimalDigits SignificantDigits18(long double magnitude) {
  DecimalDigits out;
  if (FastDigits(magnitude, out)) return out;
  return ExactDigits(magnitude);
}
