// Exact conversions between the extended format and decimal: digits x 10^scale
// to the nearest extended value, and an extended value to its nearest 18
// significant digits, both with ties to even.
//
// Both first multiply by a power of five known to 128 bits (10^j = 5^j 2^j),
// which is within 2^-100 of the true product. Unless that lands within 2^-100
// of a rounding boundary (one half of a unit of the last place kept), the
// rounding is decided. Near the boundary, the two sides are compared exactly
// as big integers: rare, and the only way to get the ties right.
#include <bit>
#include <compare>
#include <cstdint>

#include "number/extended.h"

namespace {

using soft_extended_detail::kHalf;
using soft_extended_detail::Kind;
using soft_extended_detail::Unpack;
using soft_extended_detail::Unpacked;

// The road to the rounding: the 128-bit estimate, with the exact comparison
// only where it lies too near a rounding boundary to tell, or the comparison
// always (for the tests).
enum class Road { kEstimateFirst, kAlwaysCompare };

// The largest decimal scale needed: 10^4933 is beyond the format and digits
// below 2^64 times 10^-4971 are under half its smallest subnormal, 2^-16446;
// the smallest subnormal has 18 digits at 10^4967.
constexpr int kMaxPowerOfFive = 4971;

// A positive number m x 2^(e - 127), m with bit 127 set.
struct Approximation {
  U128 m;
  int e;
};

// The product, rounded down to 128 bits: relative error below 2^-126.
constexpr Approximation operator*(Approximation a, Approximation b) {
  const U128 p = MulHigh(a.m, b.m);
  if ((p.hi & kHalf) != 0) return {p, a.e + b.e + 1};
  return {p << 1, a.e + b.e};
}

// 5^(2^i) and 5^-(2^i) for 2^i up to 4096, each squared from the one
// before: relative error below 2^-126 x 2^(i+1), under 2^-112 for i = 12.
constexpr int kPowers = 13;
struct PowersOfFive {
  Approximation up[kPowers];
  Approximation down[kPowers];
  constexpr PowersOfFive() : up{}, down{} {
    up[0] = {{0xA000000000000000, 0}, 2};                      // 5
    down[0] = {{0xCCCCCCCCCCCCCCCC, 0xCCCCCCCCCCCCCCCD}, -3};  // 1/5, rounded
    for (int i = 1; i < kPowers; ++i) {
      up[i] = up[i - 1] * up[i - 1];
      down[i] = down[i - 1] * down[i - 1];
    }
  }
};
constexpr PowersOfFive kFive;

// 5^n for |n| < 2^13, within 2^-111 relative (a product of at most 13
// entries and 13 roundings).
Approximation PowerOfFive(int n) {
  const bool negative = n < 0;
  unsigned bits = static_cast<unsigned>(negative ? -n : n);
  Approximation power{{kHalf, 0}, 0};
  for (int i = 0; bits != 0; ++i, bits >>= 1) {
    if ((bits & 1) != 0) power = power * (negative ? kFive.down[i] : kFive.up[i]);
  }
  return power;
}

// The estimate being within 2^-100 of the truth, so within 2^28 units of the
// last of its 128 bits: a boundary farther away than that is not crossed.
constexpr std::uint64_t kDoubt = std::uint64_t{1} << 28;

// The bits of v below bit `bits` (0 < bits < 128) against one half of that
// place: true when they are within kDoubt of it.
bool NearHalf(U128 v, int bits) {
  const U128 rest = v - ((v >> bits) << bits);
  const U128 half = U128{0, 1} << (bits - 1);
  const U128 distance = rest > half ? rest - half : half - rest;
  return distance <= U128{0, kDoubt};
}

// m x 2^-lz x p: the top 128 bits of the 192-bit product, normalised, and the
// power of two that goes with it.
Approximation Scale(std::uint64_t m, const Approximation& p) {
  const int lz = std::countl_zero(m);
  m <<= lz;
  const U128 high = Mul64(m, p.m.hi);
  const U128 low = Mul64(m, p.m.lo);
  const U128 top = high + U128{0, low.hi};
  if ((top.hi & kHalf) != 0) return {top, p.e + 64 - lz};
  return {(top << 1) | U128{0, low.lo >> 63}, p.e + 63 - lz};
}

// An unsigned integer of up to 192 64-bit limbs, least significant first: the
// largest compared is below 5^4971 x 2^65, about 2^11608.
class BigUnsigned {
 public:
  explicit BigUnsigned(U128 v) : limb_{v.lo, v.hi}, size_(v.hi != 0 ? 2 : v.lo != 0 ? 1 : 0) {}

  void MultiplyBy(std::uint64_t factor) {
    std::uint64_t carry = 0;
    for (int i = 0; i < size_; ++i) {
      const U128 p = Mul64(limb_[i], factor) + U128{0, carry};
      limb_[i] = p.lo;
      carry = p.hi;
    }
    if (carry != 0) limb_[size_++] = carry;
  }
  void MultiplyByPowerOfFive(int n) {
    constexpr std::uint64_t kFiveTo27 = 7450580596923828125;  // the largest below 2^64
    for (; n >= 27; n -= 27) MultiplyBy(kFiveTo27);
    std::uint64_t rest = 1;
    for (; n > 0; --n) rest *= 5;
    MultiplyBy(rest);
  }
  void ShiftLeft(int n) {
    if (size_ == 0) return;
    const int words = n / 64;
    const int bits = n % 64;
    limb_[size_] = 0;
    for (int i = size_; i >= 0; --i) {
      const std::uint64_t below = (bits != 0 && i > 0) ? limb_[i - 1] >> (64 - bits) : 0;
      limb_[i + words] = (limb_[i] << bits) | below;
    }
    for (int i = 0; i < words; ++i) limb_[i] = 0;
    size_ += words + 1;
    if (limb_[size_ - 1] == 0) --size_;
  }
  friend std::strong_ordering operator<=>(const BigUnsigned& a, const BigUnsigned& b) {
    if (a.size_ != b.size_) return a.size_ <=> b.size_;
    for (int i = a.size_ - 1; i >= 0; --i) {
      if (a.limb_[i] != b.limb_[i]) return a.limb_[i] <=> b.limb_[i];
    }
    return std::strong_ordering::equal;
  }

 private:
  static constexpr int kLimbs = 192;
  std::uint64_t limb_[kLimbs];
  int size_;
};

// m x 5^five x 2^two against n x 2^-1, exactly.
std::strong_ordering CompareExactly(std::uint64_t m, int five, int two, U128 n) {
  BigUnsigned a(U128{0, m});
  BigUnsigned b(n);
  if (five >= 0) {
    a.MultiplyByPowerOfFive(five);
  } else {
    b.MultiplyByPowerOfFive(-five);
  }
  if (two + 1 >= 0) {
    a.ShiftLeft(two + 1);
  } else {
    b.ShiftLeft(-(two + 1));
  }
  return a <=> b;
}

SoftExtended SoftExactDecimal(std::uint64_t digits, std::int64_t scale, Road road) {
  if (digits == 0) return 0;
  if (scale > 4932) return soft_extended_detail::Infinity(false);
  if (scale < -kMaxPowerOfFive) return 0;
  const int s = static_cast<int>(scale);
  // digits x 10^s = m x 2^(e - 127)
  Approximation v = Scale(digits, PowerOfFive(s));
  v.e += s;
  const int biased = v.e + SoftExtended::kBias;
  const int dropped = biased >= 1 ? 64 : 65 - biased;  // bits below the last one kept
  if (dropped <= 120 && road == Road::kEstimateFirst && !NearHalf(v.m, dropped)) {
    return soft_extended_detail::RoundPack(false, v.e, v.m);
  }
  // kept x 2^unit is the estimate cut at the last place; the exact value lies
  // on the same side of kept + 1/2 as the estimate, or on it.
  const std::uint64_t kept = dropped >= 128 ? 0 : (v.m >> dropped).lo;
  const int unit = v.e - 127 + dropped;
  const std::strong_ordering order =
      CompareExactly(digits, s, s - unit, U128{kept >> 63, (kept << 1) | 1});
  const bool up = order > 0 || (order == 0 && (kept & 1) != 0);
  return soft_extended_detail::Finish(false, biased >= 1 ? biased : 0, kept, up ? ~0ULL : 0);
}

Digits18 SoftExactDigits18(SoftExtended magnitude, Road road) {
  constexpr std::uint64_t kTenTo17 = 100000000000000000;
  constexpr std::uint64_t kTenTo18 = 1000000000000000000;
  const Unpacked u = Unpack(magnitude);
  if (u.kind != Kind::kFinite || u.negative) return {0, 0};
  // The decimal exponent: floor(log10(2) x binary exponent) or one more.
  int exponent = (u.exponent * 78913) >> 18;  // 78913 / 2^18 = log10(2) - 2e-7
  int moved = 0;                              // +1 after raising it, -1 after lowering
  for (;;) {
    const int j = 17 - exponent;
    // magnitude x 10^j = m x 2^(e - 127), and its integer part, of 57 to 60 bits.
    Approximation v = Scale(u.significand, PowerOfFive(j));
    v.e += u.exponent - 63 + j;
    if (v.e < 56 || v.e > 59) {
      exponent += v.e < 56 ? -1 : 1;
      continue;
    }
    const std::uint64_t whole = (v.m >> (127 - v.e)).lo;
    // Off by one decimal place: move the point, unless it has just been
    // moved the other way, when the value lies at 10^17 within the error and
    // rounds to it.
    if (whole < kTenTo17) {
      if (moved > 0) return {kTenTo17, exponent};
      --exponent;
      moved = -1;
      continue;
    }
    if (whole >= kTenTo18) {
      if (moved < 0) return {kTenTo17, exponent + 1};
      ++exponent;
      moved = 1;
      continue;
    }
    bool up;
    if (road == Road::kAlwaysCompare || NearHalf(v.m, 127 - v.e)) {
      const std::strong_ordering order =
          CompareExactly(u.significand, j, u.exponent - 63 + j, U128{0, 2 * whole + 1});
      up = order > 0 || (order == 0 && (whole & 1) != 0);
    } else {
      const U128 rest = v.m - ((v.m >> (127 - v.e)) << (127 - v.e));
      up = rest > (U128{0, 1} << (126 - v.e));
    }
    if (!up) return {whole, exponent};
    if (whole + 1 == kTenTo18) return {kTenTo17, exponent + 1};
    return {whole + 1, exponent};
  }
}

}  // namespace

Digits18 SoftExactDigits18(SoftExtended magnitude) {
  return SoftExactDigits18(magnitude, Road::kEstimateFirst);
}

SoftExtended SoftExactDecimal(std::uint64_t digits, std::int64_t scale) {
  return SoftExactDecimal(digits, scale, Road::kEstimateFirst);
}

namespace extended_detail {
Digits18 ExactDigits18ByComparison(SoftExtended magnitude) {
  return SoftExactDigits18(magnitude, Road::kAlwaysCompare);
}
SoftExtended ExactDecimalByComparison(std::uint64_t digits, std::int64_t scale) {
  return SoftExactDecimal(digits, scale, Road::kAlwaysCompare);
}
}  // namespace extended_detail
