#include "eval/decimal_digits.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "eval/powers.h"

namespace {

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
        scale >= 0 ? magnitude * kExact.ten[scale] : magnitude / kExact.ten[-scale];
    if (scaled >= 1e18L) {
      ++exponent;
      continue;
    }
    if (scaled < 1e17L) return false;
    std::uint64_t whole = NearestInteger(scaled);
    if (std::fabs(scaled - static_cast<long double>(whole)) > 0.4375L) return false;
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

#ifdef __SIZEOF_INT128__
// A double is m x 2^e with m below 2^53, so m x 10^k = m x 5^k x 2^k is an
// exact 128-bit integer for k <= 27 (5^27 < 2^63), and shifting it by k + e
// places, with the bits shifted out deciding the rounding, gives the 18
// digits exactly: every double from 10^-10 up to 10^18 without any library
// call. (Where the compiler has no 128-bit integers, FastDigits does it.)
bool IntegerDigits(double narrow, DecimalDigits& out) {
  std::uint64_t bits;
  std::memcpy(&bits, &narrow, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  if (biased == 0 || biased == 0x7FF) return false;  // subnormal, infinite or NaN
  const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int e = biased - 1075;  // narrow = m x 2^e
  // log10(2) x binary exponent, rounded down, is the decimal exponent or one less.
  const int binary_exponent = biased - 1023;
  int exponent = binary_exponent * 78913 / 262144;
  if (binary_exponent < 0) exponent -= 1;
  for (int attempt = 0; attempt < 2; ++attempt, ++exponent) {
    const int scale = 17 - exponent;
    if (scale < 0 || scale > kExactPowers) return false;
    const unsigned __int128 product = static_cast<unsigned __int128>(m) * kExact.five[scale];
    const int shift = scale + e;  // the 18 digits are product x 2^shift
    unsigned __int128 whole;
    if (shift >= 0) {
      if (shift > 10) return false;  // far beyond 18 digits: the next attempt can't help either
      whole = product << shift;
    } else if (shift <= -127) {
      return false;
    } else {
      whole = product >> -shift;
      const unsigned __int128 rest = product - (whole << -shift);
      const unsigned __int128 half = static_cast<unsigned __int128>(1) << (-shift - 1);
      if (rest > half || (rest == half && (whole & 1) != 0)) ++whole;
    }
    if (whole >= kTenTo18 && whole != kTenTo18) continue;  // one more decimal digit
    if (whole < kTenTo17) return false;
    out.significand = static_cast<std::uint64_t>(whole);
    out.exponent = exponent;
    if (whole == kTenTo18) {  // rounded up into the next power of ten
      out.significand = kTenTo17;
      ++out.exponent;
    }
    return true;
  }
  return false;
}
#endif

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
#ifdef __SIZEOF_INT128__
  const auto narrow = static_cast<double>(magnitude);
  if (static_cast<long double>(narrow) == magnitude && IntegerDigits(narrow, out)) return out;
#endif
  if (FastDigits(magnitude, out)) return out;
  return ExactDigits(magnitude);
}

DecimalDigits SignificantDigits18(double magnitude) {
#ifdef __SIZEOF_INT128__
  DecimalDigits out;
  if (IntegerDigits(magnitude, out)) return out;
#endif
  return SignificantDigits18(static_cast<long double>(magnitude));
}
