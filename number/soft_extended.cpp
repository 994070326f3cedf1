// Log and Exp of the software extended format, in 128-bit fixed point.
//
// Both reduce the argument to [0, ln 2) or [1, 2) and then take it apart into
// factors 1 + 2^-k or 1 - 2^-k, whose logarithms the compiler tabulates:
// multiplying by such a factor is a shift and an add. What is left after k =
// 32 is below 2^-31, where four terms of the series are enough. Every step keeps
// 127 or 128 bits, so the result is within about 2^-100 of the true value
// before it is rounded once to the format: about 10^-11 ulp.
#include <array>
#include <cstdint>

#include "number/soft_extended.h"

namespace {

using soft_extended_detail::kHalf;
using soft_extended_detail::Kind;
using soft_extended_detail::RoundPack;
using soft_extended_detail::Unpack;
using soft_extended_detail::Unpacked;

constexpr int kSteps = 32;
constexpr U128 kOne{std::uint64_t{1} << 63, 0};  // 1 with 127 fraction bits
// ln 2 with 128 fraction bits, rounded to nearest.
constexpr U128 kLn2{0xB17217F7D1CF79AB, 0xC9E3B39803F2F6AF};

// x / d, rounded to nearest, for a small d and x below 2^127.
constexpr U128 DivideSmall(U128 x, std::uint64_t d) {
  x = x + U128{0, d / 2};
  std::uint64_t remainder = x.hi % d;
  const std::uint64_t hi = x.hi / d;
  return {hi, Div128By64({remainder, x.lo}, d, &remainder)};
}

// ln(1 + s 2^-k) = sum over n of -(-s)^n 2^-kn / n, for k = 1 .. kSteps,
// with 128 fraction bits; entry k of the tables for s = -1 and s = +1 hold
// -ln(1 - 2^-k) and ln(1 + 2^-k).
constexpr std::array<U128, kSteps + 1> LogTable(bool plus) {
  std::array<U128, kSteps + 1> table{};
  for (int k = 1; k <= kSteps; ++k) {
    U128 sum{};
    for (int n = 1; k * n < 128; ++n) {
      const U128 term = DivideSmall(U128{0, 1} << (128 - k * n), static_cast<std::uint64_t>(n));
      sum = (plus && n % 2 == 0) ? sum - term : sum + term;
    }
    table[static_cast<std::size_t>(k)] = sum;
  }
  return table;
}
constexpr std::array<U128, kSteps + 1> kLogOneMinus = LogTable(false);
constexpr std::array<U128, kSteps + 1> kLogOnePlus = LogTable(true);

// 1/n with 127 fraction bits, for the series of ln(1 + u).
constexpr int kSeriesTerms = 19;  // enough for |u| < 2^-7: u^19 < 2^-133
constexpr std::array<U128, kSeriesTerms + 1> Reciprocals() {
  std::array<U128, kSeriesTerms + 1> table{};
  for (int n = 1; n <= kSeriesTerms; ++n) {
    table[static_cast<std::size_t>(n)] = DivideSmall(kOne, static_cast<std::uint64_t>(n));
  }
  return table;
}
constexpr std::array<U128, kSeriesTerms + 1> kReciprocal = Reciprocals();
// 1/n! with 127 fraction bits, n = 0 .. 4, for the last of e^r.
constexpr std::array<U128, 5> kFactorialReciprocal = {kOne, kOne, DivideSmall(kOne, 2),
                                                      DivideSmall(kOne, 6), DivideSmall(kOne, 24)};

// v x 2^-fraction_bits, rounded to the format.
SoftExtended FixedToExtended(bool negative, U128 v, int fraction_bits) {
  if (v == U128{}) return soft_extended_detail::Zero(false);
  const int shift = CountLeadingZeros(v);
  return RoundPack(negative, 127 - shift - fraction_bits, v << shift);
}

// ln x for x = 1 + u or 1 - u with 0 < u < 2^-7, u given with 128 fraction
// bits (exactly: x has no bits below 2^-64). The series
//   ln(1 + u) = u (1 - u/2 + u^2/3 - ...),  ln(1 - u) = -u (1 + u/2 + u^2/3 + ...)
// keeps its relative precision however close x is to 1.
SoftExtended LogNearOne(U128 u, bool below_one) {
  U128 sum = kReciprocal[kSeriesTerms];
  for (int n = kSeriesTerms - 1; n >= 1; --n) {
    const U128 next = MulHigh(u, sum);
    sum = below_one ? kReciprocal[static_cast<std::size_t>(n)] + next
                    : kReciprocal[static_cast<std::size_t>(n)] - next;
  }
  // u x sum, from u = normalised x 2^(-128 - shift) and sum with 127 fraction bits.
  const int shift = CountLeadingZeros(u);
  U128 product = MulHigh(u << shift, sum);
  const int normalise = CountLeadingZeros(product);
  product = product << normalise;
  return RoundPack(below_one, -shift - normalise, product);
}

}  // namespace

SoftExtended Log(SoftExtended x) {
  const Unpacked u = Unpack(x);
  switch (u.kind) {
    case Kind::kNaN:
      return soft_extended_detail::Quiet(x);
    case Kind::kZero:
      return soft_extended_detail::Infinity(true);
    case Kind::kInvalid:
      return soft_extended_detail::Indefinite();
    case Kind::kInfinite:
    case Kind::kFinite:
      if (u.negative) return soft_extended_detail::Indefinite();
      if (u.kind == Kind::kInfinite) return x;
      break;
  }
  constexpr std::uint64_t kLeading = SoftExtended::kLeadingBit;
  if (u.exponent == 0 && u.significand < kLeading + (kLeading >> 7)) {
    if (u.significand == kLeading) return soft_extended_detail::Zero(false);  // ln 1
    return LogNearOne({(u.significand - kLeading) << 1, 0}, false);
  }
  if (u.exponent == -1 && u.significand > 0 - (kLeading >> 6)) {
    return LogNearOne({0 - u.significand, 0}, true);
  }

  // x = f 2^e with 1 <= f < 2: bring f down to 1 by factors 1 - 2^-k, each
  // taken as often as it fits, and add up their -ln.
  U128 f{u.significand, 0};
  U128 log_f{};  // 128 fraction bits
  for (int k = 2; k <= kSteps; ++k) {
    for (U128 next = f - (f >> k); next >= kOne; next = f - (f >> k)) {
      f = next;
      log_f = log_f + kLogOneMinus[static_cast<std::size_t>(k)];
    }
  }
  // ln(1 + d) = d (1 - d (1/2 - d (1/3 - d/4))) for the d < 2^-31 left, to 2^-155.
  const U128 d = (f - kOne) << 1;
  U128 series = kReciprocal[4];
  for (int n = 3; n >= 1; --n) {
    series = kReciprocal[static_cast<std::size_t>(n)] - MulHigh(d, series);
  }
  log_f = log_f + (MulHigh(d, series) << 1);
  if (u.exponent == 0) return FixedToExtended(false, log_f, 128);

  // e ln 2 + ln f, with 114 fraction bits: |e ln 2| < 2^14.
  const bool negative = u.exponent < 0;
  const auto e = static_cast<std::uint64_t>(negative ? -u.exponent : u.exponent);
  const U128 whole = MulLow(kLn2 >> 14, e);
  return FixedToExtended(negative, negative ? whole - (log_f >> 14) : whole + (log_f >> 14), 114);
}

SoftExtended Exp(SoftExtended x) {
  const Unpacked u = Unpack(x);
  switch (u.kind) {
    case Kind::kNaN:
      return soft_extended_detail::Quiet(x);
    case Kind::kInvalid:
      return soft_extended_detail::Indefinite();
    case Kind::kZero:
      return 1;
    case Kind::kInfinite:
      return u.negative ? soft_extended_detail::Zero(false) : x;
    case Kind::kFinite:
      break;
  }
  // e^x overflows above 11357 and is below the smallest subnormal under -11400.
  if (u.exponent >= 14)
    return u.negative ? soft_extended_detail::Zero(false) : soft_extended_detail::Infinity(false);
  // Below 2^-64, e^x = 1 + x + x^2/2 lies just beside 1 + x, which is 1, a
  // halfway point or between 1 - 2^-64 and that one's halfway point 1 - 2^-65,
  // and the x^2 / 2 decides the side: above 1 - 2^-65 the result is 1.
  if (u.exponent < -64) {
    const bool below_one = u.negative && (u.exponent == -65 && u.significand != kHalf);
    return below_one ? SoftExtended::FromFields(false, SoftExtended::kBias - 1, ~std::uint64_t{0})
                     : SoftExtended(1);
  }

  // |x| with 114 fraction bits, exact down to 2^-114.
  const int shift = u.exponent + 51;
  const U128 magnitude =
      shift >= 0 ? U128{0, u.significand} << shift : U128{0, u.significand >> -shift};
  // |x| = q ln 2 + r with 0 <= r < ln 2; q from a 64-bit estimate of 1 / ln 2.
  const U128 ln2 = kLn2 >> 14;
  constexpr std::uint64_t kInverseLn2 = 0xB8AA3B295C17F0BB;  // 2^63 / ln 2
  auto q = static_cast<std::int64_t>(Mul64(magnitude.hi, kInverseLn2).hi >> 49);
  U128 multiple = MulLow(ln2, static_cast<std::uint64_t>(q));
  if (multiple > magnitude) {
    --q;
    multiple = multiple - ln2;
  }
  U128 r = magnitude - multiple;
  if (r >= ln2) {
    ++q;
    r = r - ln2;
  }
  // x = k ln 2 + r with 0 <= r < ln 2.
  std::int64_t k = q;
  if (u.negative) {
    k = -q;
    if (r != U128{}) {
      k = -q - 1;
      r = ln2 - r;
    }
  }
  // e^r: build it up from 1 by factors 1 + 2^-k while their logarithms fit in r.
  r = r << 14;  // 128 fraction bits
  U128 y = kOne;
  for (int step = 1; step <= kSteps; ++step) {
    if (r >= kLogOnePlus[static_cast<std::size_t>(step)]) {
      r = r - kLogOnePlus[static_cast<std::size_t>(step)];
      y = y + (y >> step);
    }
  }
  // e^r - 1 = r (1 + r (1/2 + r (1/6 + r/24))) for the r < 2^-31 left, to 2^-155.
  U128 series = kFactorialReciprocal[4];  // the coefficient of r^n is 1 / (n + 1)!
  for (int n = 2; n >= 0; --n) {
    series = kFactorialReciprocal[static_cast<std::size_t>(n + 1)] + MulHigh(r, series);
  }
  y = y + MulHigh(y, MulHigh(r, series) << 1);
  return RoundPack(false, static_cast<int>(k), y);
}
