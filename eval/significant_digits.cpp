#include "eval/significant_digits.h"

#include <cassert>
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
bool FastDigits(Extended magnitude, Digits18& out) {
  // The binary exponent, read from the value's fields; subnormals land
  // outside the exact powers below.
  const int binary_exponent = static_cast<int>(ToSoft(magnitude).exponent()) - SoftExtended::kBias;
  // log10(2) x binary exponent, rounded down, is the decimal exponent or one less.
  int exponent = binary_exponent * 78913 / 262144;  // 78913 / 2^18 = log10(2) - 2e-7
  if (binary_exponent < 0) exponent -= 1;           // the division truncated towards zero
  constexpr Extended kTenTo17Value = 1e17;
  constexpr Extended kTenTo18Value = 1e18;
  constexpr Extended kUndecided = 0.4375;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int scale = 17 - exponent;
    if (scale > kExactPowers || scale < -kExactPowers) return false;
    const Extended scaled =
        scale >= 0 ? magnitude * kExact.ten[scale] : magnitude / kExact.ten[-scale];
    if (scaled >= kTenTo18Value) {
      ++exponent;
      continue;
    }
    if (scaled < kTenTo17Value) return false;
    std::uint64_t whole = NearestInteger(scaled);
    if (Abs(scaled - static_cast<Extended>(whole)) > kUndecided) return false;
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
bool IntegerDigits(double narrow, Digits18& out) {
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

}  // namespace

Digits18 SignificantDigits18(Extended magnitude) {
  assert(IsFinite(magnitude) && magnitude > 0);
  Digits18 out;
#ifdef __SIZEOF_INT128__
  const auto narrow = static_cast<double>(magnitude);
  if (static_cast<Extended>(narrow) == magnitude && IntegerDigits(narrow, out)) return out;
#endif
  if (FastDigits(magnitude, out)) return out;
  return ExactDigits18(magnitude);
}

Digits18 SignificantDigits18(double magnitude) {
#ifdef __SIZEOF_INT128__
  Digits18 out;
  if (IntegerDigits(magnitude, out)) return out;
#endif
  return SignificantDigits18(static_cast<Extended>(magnitude));
}
