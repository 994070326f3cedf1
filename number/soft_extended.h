// SoftExtended: the x87 80-bit extended format in software, giving the same
// bits as the x87 in the mode the calculator sets (64-bit precision, round to
// nearest with ties to even, every exception masked) where long double is not
// that format.
//
// The format: a sign, a 15-bit exponent biased by 16383 and a 64-bit
// significand whose leading bit is explicit. Exponent 0 holds zeros and
// subnormals (value = significand x 2^-16445), 0x7FFF infinities (significand
// 2^63) and NaNs; a NaN with bit 62 clear is signalling. What the x87 makes of
// the encodings it never produces is followed too: a pseudo-denormal (exponent
// 0, leading bit set) counts as exponent 1, and an unnormal (leading bit clear
// under a non-zero exponent), pseudo-infinity or pseudo-NaN is an invalid
// operand, as is every invalid operation: they give the default NaN, the
// negative "real indefinite" with significand 0xC000000000000000.
//
// Every operation works on the exact result and rounds it once, to nearest
// with ties to even, at bit 64 of the significand, or lower where the result
// is subnormal; too large gives an infinity. Everything here is constexpr, so
// tables of values can be computed by the compiler.
#pragma once

#include <bit>
#include <compare>
#include <concepts>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "number/bit_cast.h"
#include "number/uint128.h"

namespace soft_extended_detail {
// The integer types a value converts from and to, as long double does.
template <typename T>
concept Integer = std::integral<T> && !std::same_as<T, bool>;
}  // namespace soft_extended_detail

class SoftExtended {
 public:
  static constexpr int kBias = 16383;
  static constexpr unsigned kMaxExponent = 0x7FFF;
  static constexpr std::uint64_t kLeadingBit = std::uint64_t{1} << 63;
  static constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;

  constexpr SoftExtended() = default;  // +0
  // From integers and doubles: exact, as for long double.
  template <soft_extended_detail::Integer I>
  constexpr SoftExtended(I value);
  constexpr SoftExtended(double value);
  // A long double is another format wherever this class is needed.
  SoftExtended(long double) = delete;

  static constexpr SoftExtended FromFields(bool negative, unsigned exponent,
                                           std::uint64_t significand) {
    SoftExtended x;
    x.significand_ = significand;
    x.sign_exponent_ = static_cast<std::uint16_t>((negative ? 0x8000U : 0U) | (exponent & 0x7FFF));
    return x;
  }
  constexpr bool negative() const { return (sign_exponent_ & 0x8000) != 0; }
  constexpr unsigned exponent() const { return sign_exponent_ & 0x7FFFU; }  // biased
  constexpr std::uint64_t significand() const { return significand_; }

  // Rounded to nearest, ties to even, once: what storing an x87 register to a
  // double in memory does, double subnormals and overflow included.
  explicit constexpr operator double() const;
  // Truncated towards zero. Out of the type's range (undefined for long
  // double) it gives what the x87 stores: the 64-bit integer indefinite,
  // cut to the type.
  template <soft_extended_detail::Integer I>
  explicit constexpr operator I() const;

  friend constexpr SoftExtended operator-(SoftExtended x) {
    x.sign_exponent_ ^= 0x8000;
    return x;
  }
  friend constexpr SoftExtended operator+(SoftExtended a, SoftExtended b);
  friend constexpr SoftExtended operator-(SoftExtended a, SoftExtended b);
  friend constexpr SoftExtended operator*(SoftExtended a, SoftExtended b);
  friend constexpr SoftExtended operator/(SoftExtended a, SoftExtended b);
  friend constexpr bool operator==(SoftExtended a, SoftExtended b);
  friend constexpr std::partial_ordering operator<=>(SoftExtended a, SoftExtended b);

  constexpr SoftExtended& operator+=(SoftExtended b) { return *this = *this + b; }
  constexpr SoftExtended& operator-=(SoftExtended b) { return *this = *this - b; }
  constexpr SoftExtended& operator*=(SoftExtended b) { return *this = *this * b; }
  constexpr SoftExtended& operator/=(SoftExtended b) { return *this = *this / b; }

 private:
  // Stored as the x87 stores it: significand first, then sign and exponent.
  std::uint64_t significand_ = 0;
  std::uint16_t sign_exponent_ = 0;
};

namespace soft_extended_detail {

constexpr std::uint64_t kHalf = std::uint64_t{1} << 63;

enum class Kind { kZero, kFinite, kInfinite, kNaN, kInvalid };

// A value taken apart. For kFinite: value = significand x 2^(exponent - 63)
// with the significand's leading bit set, subnormals normalised.
struct Unpacked {
  Kind kind;
  bool negative;
  int exponent;
  std::uint64_t significand;
};

constexpr Unpacked Unpack(SoftExtended x) {
  const unsigned biased = x.exponent();
  const std::uint64_t m = x.significand();
  const bool leading = (m & SoftExtended::kLeadingBit) != 0;
  if (biased == SoftExtended::kMaxExponent) {
    if (!leading) return {Kind::kInvalid, x.negative(), 0, m};
    return {(m << 1) == 0 ? Kind::kInfinite : Kind::kNaN, x.negative(), 0, m};
  }
  if (biased == 0) {
    if (m == 0) return {Kind::kZero, x.negative(), 0, 0};
    const int shift = std::countl_zero(m);
    return {Kind::kFinite, x.negative(), 1 - SoftExtended::kBias - shift, m << shift};
  }
  if (!leading) return {Kind::kInvalid, x.negative(), 0, m};
  return {Kind::kFinite, x.negative(), static_cast<int>(biased) - SoftExtended::kBias, m};
}

constexpr SoftExtended Zero(bool negative) {
  return SoftExtended::FromFields(negative, 0, 0);
}
constexpr SoftExtended Infinity(bool negative) {
  return SoftExtended::FromFields(negative, SoftExtended::kMaxExponent, SoftExtended::kLeadingBit);
}
// The x87's default NaN, the answer to every invalid operation.
constexpr SoftExtended Indefinite() {
  return SoftExtended::FromFields(true, SoftExtended::kMaxExponent, 0xC000000000000000);
}
constexpr SoftExtended Quiet(SoftExtended nan) {
  return SoftExtended::FromFields(nan.negative(), nan.exponent(),
                                  nan.significand() | SoftExtended::kQuietBit);
}

// Significand keep (the bits above the rounding point) rounded by rest (the
// bits below it, left-aligned, with anything further or-ed into its lowest
// bit), then packed with the biased exponent; 0 is a subnormal exponent.
constexpr SoftExtended Finish(bool negative, int biased, std::uint64_t keep, std::uint64_t rest) {
  if (rest > kHalf || (rest == kHalf && (keep & 1) != 0)) {
    if (++keep == 0) {  // carried out of the top: the next power of two
      keep = SoftExtended::kLeadingBit;
      ++biased;
    } else if (biased == 0 && (keep & SoftExtended::kLeadingBit) != 0) {
      biased = 1;  // rounded up from the largest subnormal to the smallest normal
    }
  }
  if (biased >= static_cast<int>(SoftExtended::kMaxExponent)) return Infinity(negative);
  return SoftExtended::FromFields(negative, static_cast<unsigned>(biased), keep);
}

// The exact value m x 2^(exponent - 127), m with bit 127 set (its lowest bit
// may stand for bits further down), rounded to the format.
constexpr SoftExtended RoundPack(bool negative, int exponent, U128 m) {
  int biased = exponent + SoftExtended::kBias;
  if (biased <= 0) {
    m = ShiftRightJam(m, 1 - biased);
    biased = 0;
  }
  return Finish(negative, biased, m.hi, m.lo);
}

// The NaN an operation with a NaN or invalid operand gives, as the x87 picks
// it: an invalid operand gives the default NaN; of two NaNs a quiet one beats
// a signalling one, and otherwise the larger significand wins, the positive
// one on a tie; the NaN comes back quiet.
constexpr SoftExtended PropagateNaN(SoftExtended a, const Unpacked& x, SoftExtended b,
                                    const Unpacked& y) {
  if (x.kind == Kind::kInvalid || y.kind == Kind::kInvalid) return Indefinite();
  if (x.kind != Kind::kNaN) return Quiet(b);
  if (y.kind != Kind::kNaN) return Quiet(a);
  const bool a_quiet = (a.significand() & SoftExtended::kQuietBit) != 0;
  const bool b_quiet = (b.significand() & SoftExtended::kQuietBit) != 0;
  if (a_quiet != b_quiet) return a_quiet ? a : b;
  if (a.significand() != b.significand()) return Quiet(b.significand() > a.significand() ? b : a);
  return Quiet(a.negative() ? b : a);
}

constexpr SoftExtended Add(SoftExtended a, SoftExtended b, bool subtract) {
  Unpacked x = Unpack(a);
  Unpacked y = Unpack(b);
  if (x.kind >= Kind::kNaN || y.kind >= Kind::kNaN) return PropagateNaN(a, x, b, y);
  y.negative = y.negative != subtract;
  if (x.kind == Kind::kInfinite || y.kind == Kind::kInfinite) {
    if (x.kind == y.kind && x.negative != y.negative) return Indefinite();  // inf - inf
    return Infinity(x.kind == Kind::kInfinite ? x.negative : y.negative);
  }
  if (x.kind == Kind::kZero && y.kind == Kind::kZero) return Zero(x.negative && y.negative);
  if (y.kind == Kind::kZero) return RoundPack(x.negative, x.exponent, {x.significand, 0});
  if (x.kind == Kind::kZero) return RoundPack(y.negative, y.exponent, {y.significand, 0});

  if (x.exponent < y.exponent || (x.exponent == y.exponent && x.significand < y.significand)) {
    const Unpacked larger = y;
    y = x;
    x = larger;
  }
  const U128 big{x.significand, 0};
  const U128 small = ShiftRightJam(U128{y.significand, 0}, x.exponent - y.exponent);
  if (x.negative == y.negative) {
    const U128 sum = big + small;
    if (sum < big) {  // carried into bit 128
      const U128 halved = ShiftRightJam(sum, 1);
      return RoundPack(x.negative, x.exponent + 1, {halved.hi | kHalf, halved.lo});
    }
    return RoundPack(x.negative, x.exponent, sum);
  }
  const U128 difference = big - small;
  if (difference == U128{})
    return Zero(false);  // exact cancellation is +0 when rounding to nearest
  const int shift = CountLeadingZeros(difference);
  return RoundPack(x.negative, x.exponent - shift, difference << shift);
}

constexpr SoftExtended Multiply(SoftExtended a, SoftExtended b) {
  const Unpacked x = Unpack(a);
  const Unpacked y = Unpack(b);
  if (x.kind >= Kind::kNaN || y.kind >= Kind::kNaN) return PropagateNaN(a, x, b, y);
  const bool negative = x.negative != y.negative;
  if (x.kind == Kind::kInfinite || y.kind == Kind::kInfinite) {
    if (x.kind == Kind::kZero || y.kind == Kind::kZero) return Indefinite();  // 0 x inf
    return Infinity(negative);
  }
  if (x.kind == Kind::kZero || y.kind == Kind::kZero) return Zero(negative);
  const U128 product = Mul64(x.significand, y.significand);
  if ((product.hi & kHalf) != 0) return RoundPack(negative, x.exponent + y.exponent + 1, product);
  return RoundPack(negative, x.exponent + y.exponent, product << 1);
}

constexpr SoftExtended Divide(SoftExtended a, SoftExtended b) {
  const Unpacked x = Unpack(a);
  const Unpacked y = Unpack(b);
  if (x.kind >= Kind::kNaN || y.kind >= Kind::kNaN) return PropagateNaN(a, x, b, y);
  const bool negative = x.negative != y.negative;
  if (x.kind == Kind::kInfinite)
    return y.kind == Kind::kInfinite ? Indefinite() : Infinity(negative);
  if (y.kind == Kind::kInfinite) return Zero(negative);
  if (y.kind == Kind::kZero) return x.kind == Kind::kZero ? Indefinite() : Infinity(negative);
  if (x.kind == Kind::kZero) return Zero(negative);
  // A 64-bit quotient with its leading bit set, and the exact remainder.
  const bool smaller = x.significand < y.significand;
  const U128 numerator =
      smaller ? U128{x.significand, 0} : U128{x.significand >> 1, x.significand << 63};
  std::uint64_t remainder = 0;
  const std::uint64_t quotient = Div128By64(numerator, y.significand, &remainder);
  // Below the quotient: one half bit and a sticky bit, from the remainder.
  std::uint64_t rest = 0;
  if (remainder != 0) {
    const std::uint64_t other = y.significand - remainder;
    rest = remainder > other ? kHalf | 1 : remainder == other ? kHalf : 1;
  }
  return RoundPack(negative, x.exponent - y.exponent - (smaller ? 1 : 0), {quotient, rest});
}

// For ordering: kInfinite above every finite value, zeros alike.
constexpr std::partial_ordering CompareMagnitudes(const Unpacked& x, const Unpacked& y) {
  if (x.kind != y.kind) return x.kind <=> y.kind;
  if (x.kind != Kind::kFinite) return std::partial_ordering::equivalent;
  if (x.exponent != y.exponent) return x.exponent <=> y.exponent;
  return x.significand <=> y.significand;
}

constexpr std::partial_ordering Compare(SoftExtended a, SoftExtended b) {
  const Unpacked x = Unpack(a);
  const Unpacked y = Unpack(b);
  if (x.kind >= Kind::kNaN || y.kind >= Kind::kNaN) return std::partial_ordering::unordered;
  if (x.kind == Kind::kZero && y.kind == Kind::kZero) return std::partial_ordering::equivalent;
  if (x.negative != y.negative) {
    return x.negative ? std::partial_ordering::less : std::partial_ordering::greater;
  }
  return x.negative ? CompareMagnitudes(y, x) : CompareMagnitudes(x, y);
}

// m >> shift rounded to nearest, ties to even (shift >= 0, any size); the
// result may carry into the next bit up.
constexpr std::uint64_t RoundShift(std::uint64_t m, int shift) {
  const U128 shifted = ShiftRightJam(U128{m, 0}, shift);
  const bool up = shifted.lo > kHalf || (shifted.lo == kHalf && (shifted.hi & 1) != 0);
  return shifted.hi + (up ? 1 : 0);
}

constexpr double ToDouble(SoftExtended x) {
  constexpr std::uint64_t kFraction = (std::uint64_t{1} << 52) - 1;
  const Unpacked u = Unpack(x);
  const std::uint64_t sign = u.negative ? std::uint64_t{1} << 63 : 0;
  std::uint64_t bits = 0;
  switch (u.kind) {
    case Kind::kZero:
      bits = sign;
      break;
    case Kind::kInfinite:
      bits = sign | std::uint64_t{0x7FF} << 52;
      break;
    case Kind::kNaN:  // the top of the payload, made quiet
      bits = sign | std::uint64_t{0xFFF} << 51 | ((u.significand >> 11) & kFraction);
      break;
    case Kind::kInvalid:
      bits = 0xFFF8000000000000;
      break;
    case Kind::kFinite: {
      int biased = u.exponent + 1023;
      if (biased >= 1) {
        std::uint64_t kept = RoundShift(u.significand, 11);
        if (kept >> 53 != 0) {
          kept >>= 1;
          ++biased;
        }
        bits = biased >= 0x7FF
                   ? sign | std::uint64_t{0x7FF} << 52
                   : sign | static_cast<std::uint64_t>(biased) << 52 | (kept & kFraction);
      } else {
        // A subnormal double; rounding up into 2^52 is the smallest normal,
        // whose bits are the same number.
        bits = sign | RoundShift(u.significand, 11 + 1 - biased);
      }
      break;
    }
  }
  return BitCast<double>(bits);
}

enum class Rounding { kTowardZero, kNearestEven };

constexpr SoftExtended RoundToInteger(SoftExtended x, Rounding rounding) {
  const Unpacked u = Unpack(x);
  if (u.kind == Kind::kInvalid) return Indefinite();
  if (u.kind == Kind::kNaN) return Quiet(x);
  if (u.kind != Kind::kFinite || u.exponent >= 63) return x;
  if (u.exponent < 0) {
    // Below 1: 0, or 1 for more than one half when rounding to nearest.
    const bool one = rounding == Rounding::kNearestEven && u.exponent == -1 &&
                     u.significand > SoftExtended::kLeadingBit;
    return one ? SoftExtended::FromFields(u.negative, SoftExtended::kBias,
                                          SoftExtended::kLeadingBit)
               : Zero(u.negative);
  }
  const int fraction_bits = 63 - u.exponent;
  const std::uint64_t unit = std::uint64_t{1} << fraction_bits;
  std::uint64_t whole = u.significand & ~(unit - 1);
  const std::uint64_t rest = u.significand & (unit - 1);
  if (rounding == Rounding::kNearestEven &&
      (rest > unit / 2 || (rest == unit / 2 && (whole & unit) != 0))) {
    whole += unit;
    if (whole == 0) return RoundPack(u.negative, u.exponent + 1, {kHalf, 0});
  }
  return RoundPack(u.negative, u.exponent, {whole, 0});
}

}  // namespace soft_extended_detail

template <soft_extended_detail::Integer I>
constexpr SoftExtended::SoftExtended(I value) {
  std::uint64_t magnitude = static_cast<std::uint64_t>(value);
  bool is_negative = false;
  if constexpr (std::is_signed_v<I>) {
    is_negative = value < 0;
    if (is_negative) magnitude = 0 - magnitude;
  }
  if (magnitude == 0) return;
  const int shift = std::countl_zero(magnitude);
  *this = FromFields(is_negative, static_cast<unsigned>(kBias + 63 - shift), magnitude << shift);
}

constexpr SoftExtended::SoftExtended(double value) {
  const auto bits = BitCast<std::uint64_t>(value);
  const bool is_negative = (bits >> 63) != 0;
  const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0x7FF) {  // a NaN comes in quiet, as the x87 loads it
    *this = FromFields(is_negative, kMaxExponent,
                       kLeadingBit | (fraction == 0 ? 0 : kQuietBit | fraction << 11));
  } else if (biased == 0) {
    if (fraction == 0) {
      *this = FromFields(is_negative, 0, 0);
    } else {  // a subnormal double is a normal extended value
      const int shift = std::countl_zero(fraction);
      *this =
          FromFields(is_negative, static_cast<unsigned>(kBias - 1011 - shift), fraction << shift);
    }
  } else {
    *this = FromFields(is_negative, static_cast<unsigned>(biased - 1023 + kBias),
                       kLeadingBit | fraction << 11);
  }
}

constexpr SoftExtended::operator double() const {
  return soft_extended_detail::ToDouble(*this);
}

template <soft_extended_detail::Integer I>
constexpr SoftExtended::operator I() const {
  using soft_extended_detail::Kind;
  constexpr std::uint64_t kIndefinite = std::uint64_t{1} << 63;
  const soft_extended_detail::Unpacked u = soft_extended_detail::Unpack(*this);
  std::uint64_t magnitude = 0;
  if (u.kind == Kind::kFinite && u.exponent >= 0) {
    if (u.exponent > 63) return static_cast<I>(kIndefinite);
    magnitude = u.significand >> (63 - u.exponent);
  } else if (u.kind != Kind::kFinite && u.kind != Kind::kZero) {
    return static_cast<I>(kIndefinite);
  }
  if (u.negative) {
    if (magnitude > kIndefinite) return static_cast<I>(kIndefinite);
    return static_cast<I>(0 - magnitude);
  }
  if constexpr (!std::is_same_v<I, std::uint64_t>) {
    if (magnitude >= kIndefinite) return static_cast<I>(kIndefinite);
  }
  return static_cast<I>(magnitude);
}

constexpr SoftExtended operator+(SoftExtended a, SoftExtended b) {
  return soft_extended_detail::Add(a, b, false);
}
constexpr SoftExtended operator-(SoftExtended a, SoftExtended b) {
  return soft_extended_detail::Add(a, b, true);
}
constexpr SoftExtended operator*(SoftExtended a, SoftExtended b) {
  return soft_extended_detail::Multiply(a, b);
}
constexpr SoftExtended operator/(SoftExtended a, SoftExtended b) {
  return soft_extended_detail::Divide(a, b);
}
constexpr bool operator==(SoftExtended a, SoftExtended b) {
  return soft_extended_detail::Compare(a, b) == std::partial_ordering::equivalent;
}
constexpr std::partial_ordering operator<=>(SoftExtended a, SoftExtended b) {
  return soft_extended_detail::Compare(a, b);
}

// The <cmath> functions the calculator uses, under its own names so that a
// call can't silently reach the double version.
constexpr SoftExtended Abs(SoftExtended x) {
  return SoftExtended::FromFields(false, x.exponent(), x.significand());
}
constexpr SoftExtended Trunc(SoftExtended x) {
  return soft_extended_detail::RoundToInteger(x, soft_extended_detail::Rounding::kTowardZero);
}
// Nearest integer, ties to even (nearbyint in the calculator's mode).
constexpr SoftExtended NearbyInt(SoftExtended x) {
  return soft_extended_detail::RoundToInteger(x, soft_extended_detail::Rounding::kNearestEven);
}
constexpr bool IsNaN(SoftExtended x) {
  return soft_extended_detail::Unpack(x).kind >= soft_extended_detail::Kind::kNaN;
}
constexpr bool IsInf(SoftExtended x) {
  return soft_extended_detail::Unpack(x).kind == soft_extended_detail::Kind::kInfinite;
}
constexpr bool SignBit(SoftExtended x) {
  return x.negative();
}
constexpr bool IsFinite(SoftExtended x) {
  return !IsNaN(x) && !IsInf(x);
}
// The magnitude of x with the sign of y.
constexpr SoftExtended CopySign(SoftExtended x, SoftExtended y) {
  return SoftExtended::FromFields(y.negative(), x.exponent(), x.significand());
}
// An integer that is odd: fmod(x, 2) != 0 for an integer x.
constexpr bool IsOddInteger(SoftExtended x) {
  const soft_extended_detail::Unpacked u = soft_extended_detail::Unpack(x);
  if (u.kind != soft_extended_detail::Kind::kFinite || u.exponent < 0 || u.exponent > 63) {
    return false;
  }
  const std::uint64_t unit = std::uint64_t{1} << (63 - u.exponent);
  return (u.significand & (2 * unit - 1)) == unit;
}
constexpr double ToDouble(SoftExtended x) {
  return static_cast<double>(x);
}

// Natural logarithm and e^x, within 2^-100 of the true value before the one
// rounding, so correctly rounded unless that lies as close to a halfway
// point. The log of a zero is -inf, of a negative value the default NaN.
SoftExtended Log(SoftExtended x);
SoftExtended Exp(SoftExtended x);

template <>
class std::numeric_limits<SoftExtended> {
 public:
  static constexpr bool is_specialized = true;
  static constexpr bool is_signed = true;
  static constexpr bool is_integer = false;
  static constexpr bool is_exact = false;
  static constexpr bool has_infinity = true;
  static constexpr bool has_quiet_NaN = true;
  static constexpr bool has_signaling_NaN = true;
  static constexpr float_denorm_style has_denorm = denorm_present;
  static constexpr bool has_denorm_loss = false;
  static constexpr float_round_style round_style = round_to_nearest;
  static constexpr bool is_iec559 = true;
  static constexpr bool is_bounded = true;
  static constexpr bool is_modulo = false;
  static constexpr int digits = 64;
  static constexpr int digits10 = 18;
  static constexpr int max_digits10 = 21;
  static constexpr int radix = 2;
  static constexpr int min_exponent = -16381;
  static constexpr int min_exponent10 = -4931;
  static constexpr int max_exponent = 16384;
  static constexpr int max_exponent10 = 4932;
  static constexpr bool traps = false;
  static constexpr bool tinyness_before = false;
  static constexpr SoftExtended min() noexcept {
    return SoftExtended::FromFields(false, 1, SoftExtended::kLeadingBit);
  }
  static constexpr SoftExtended max() noexcept {
    return SoftExtended::FromFields(false, SoftExtended::kMaxExponent - 1, ~std::uint64_t{0});
  }
  static constexpr SoftExtended lowest() noexcept { return -max(); }
  static constexpr SoftExtended epsilon() noexcept {
    return SoftExtended::FromFields(false, SoftExtended::kBias - 63, SoftExtended::kLeadingBit);
  }
  static constexpr SoftExtended round_error() noexcept {
    return SoftExtended::FromFields(false, SoftExtended::kBias - 1, SoftExtended::kLeadingBit);
  }
  static constexpr SoftExtended infinity() noexcept {
    return SoftExtended::FromFields(false, SoftExtended::kMaxExponent, SoftExtended::kLeadingBit);
  }
  static constexpr SoftExtended quiet_NaN() noexcept {
    return SoftExtended::FromFields(false, SoftExtended::kMaxExponent, 0xC000000000000000);
  }
  static constexpr SoftExtended signaling_NaN() noexcept {
    return SoftExtended::FromFields(false, SoftExtended::kMaxExponent, 0xA000000000000000);
  }
  static constexpr SoftExtended denorm_min() noexcept {
    return SoftExtended::FromFields(false, 0, 1);
  }
};
