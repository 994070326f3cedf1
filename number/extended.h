// Extended: the number type all of the calculator's arithmetic runs in, the
// x87 80-bit extended format (64-bit significand, 15-bit exponent) in the
// mode the calculator sets: 64-bit precision, round to nearest with ties to
// even, every exception masked.
//
// On x86 with GCC or Clang that is long double, computed by the FPU itself.
// Elsewhere long double is another format (a double, or the 128-bit quad of
// ARM64 Linux), and Extended is SoftExtended, which gives the same bits in
// software. The build option LUMOCALC_SOFT_EXTENDED (defining the macro of
// that name) takes the software format on x86 too.
//
// Code written against Extended compiles with either: the operators, the
// conversions from integers and doubles by static_cast, and the functions
// below, which are named apart from <cmath> so that no call silently reaches
// the double version of a function.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "number/soft_extended.h"

#if (defined(__i386__) || defined(__x86_64__)) && defined(__LDBL_MANT_DIG__) && \
    __LDBL_MANT_DIG__ == 64
#define LUMOCALC_X87_LONG_DOUBLE 1
#endif

#if defined(LUMOCALC_X87_LONG_DOUBLE) && !defined(LUMOCALC_SOFT_EXTENDED)
#define LUMOCALC_HARDWARE_EXTENDED 1
using Extended = long double;
#else
using Extended = SoftExtended;
#endif

#ifdef LUMOCALC_X87_LONG_DOUBLE
// The same functions for the FPU's long double (see soft_extended.h).
inline long double Abs(long double x) {
  return std::fabs(x);
}
inline long double Trunc(long double x) {
  return std::trunc(x);
}
inline long double NearbyInt(long double x) {
  return std::nearbyint(x);  // ties to even: the FPU's rounding mode
}
inline bool IsNaN(long double x) {
  return std::isnan(x);
}
inline bool IsInf(long double x) {
  return std::isinf(x);
}
inline bool SignBit(long double x) {
  return std::signbit(x);
}
inline bool IsFinite(long double x) {
  return std::isfinite(x);
}
inline long double CopySign(long double x, long double y) {
  return std::copysign(x, y);
}
inline bool IsOddInteger(long double x) {
  return std::fabs(std::fmod(x, 2.0L)) == 1;
}
// Through memory on purpose: on 32-bit x87 code a double kept in a register
// would silently keep extended precision.
inline double ToDouble(long double x) {
  volatile double stored = static_cast<double>(x);
  return stored;
}
inline long double Log(long double x) {
  return std::log(x);
}
inline long double Exp(long double x) {
  return std::exp(x);
}

// The same ten bytes, as the other type.
inline SoftExtended ToSoft(long double x) {
  std::uint64_t significand;
  std::uint16_t sign_exponent;
  std::memcpy(&significand, &x, sizeof significand);
  std::memcpy(&sign_exponent, reinterpret_cast<const char*>(&x) + 8, sizeof sign_exponent);
  return SoftExtended::FromFields((sign_exponent & 0x8000) != 0, sign_exponent & 0x7FFFU,
                                  significand);
}
inline long double ToLongDouble(SoftExtended x) {
  long double value = 0;
  const std::uint64_t significand = x.significand();
  const auto sign_exponent =
      static_cast<std::uint16_t>((x.negative() ? 0x8000U : 0U) | x.exponent());
  std::memcpy(&value, &significand, sizeof significand);
  std::memcpy(reinterpret_cast<char*>(&value) + 8, &sign_exponent, sizeof sign_exponent);
  return value;
}
#endif

inline SoftExtended ToSoft(SoftExtended x) {
  return x;
}
inline Extended FromSoft(SoftExtended x) {
#ifdef LUMOCALC_HARDWARE_EXTENDED
  return ToLongDouble(x);
#else
  return x;
#endif
}

// A positive value's decimal digits: value = significand x 10^(exponent - 17)
// with 10^17 <= significand < 10^18.
struct Digits18 {
  std::uint64_t significand;
  int exponent;
};

// The exact value of a positive finite magnitude rounded to 18 significant
// digits, to nearest with ties to even. {0, 0} for anything else.
Digits18 SoftExactDigits18(SoftExtended magnitude);
inline Digits18 ExactDigits18(Extended magnitude) {
  return SoftExactDigits18(ToSoft(magnitude));
}

// digits x 10^scale rounded once to the format, to nearest with ties to even:
// what strtold gives on x86, for any scale (beyond the range: infinity or 0).
SoftExtended SoftExactDecimal(std::uint64_t digits, std::int64_t scale);
inline Extended ExactDecimal(std::uint64_t digits, std::int64_t scale) {
  return FromSoft(SoftExactDecimal(digits, scale));
}

namespace extended_detail {
// The two above with the exact big-integer comparison forced, which they
// otherwise make only when a 128-bit estimate lies too near a rounding
// boundary to tell: for tests that compare it with the FPU's library.
Digits18 ExactDigits18ByComparison(SoftExtended magnitude);
SoftExtended ExactDecimalByComparison(std::uint64_t digits, std::int64_t scale);
}  // namespace extended_detail
