// extended-compare: the software extended format against the x87, bit for bit,
// the long run of what extended_test.cpp samples.
//   extended-compare N SEED     (through scripts/compare-extended.sh)
//
// N random operand pairs per operation, drawn to be hard: significands near
// rounding halfway points and with long runs of equal bits, subnormals,
// exponents near overflow and underflow and near the double limits, exponent
// differences around 64 and 128, cancellation, NaNs, infinities, and the
// encodings the x87 never produces. Each operation and conversion of
// SoftExtended is held against long double on the FPU in the calculator's
// mode, and so are the exact decimal conversions against strtold and
// std::to_chars (N / 20 values each, and N / 200 through the forced big-integer
// comparison). Every mismatch counts; the first few are printed. (Log and Exp
// are held to their exact bits by the rows of tests/cases/extended.txt: the
// x87's logl and expl are no reference, being now and then a bit off.)
//
// Exit code 0 when nothing mismatched, 1 otherwise. The test run makes a short
// one of it.
#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "number/extended.h"
#include "number/fpu_control.h"
#include "testkit/extended_ops.h"

#ifndef LUMOCALC_X87_LONG_DOUBLE
#error "extended-compare needs long double to be the x87 format"
#endif

namespace {

constexpr std::uint64_t kLead = std::uint64_t{1} << 63;
constexpr unsigned kBias = SoftExtended::kBias;

struct Random {
  std::uint64_t state;
  std::uint64_t Next() {  // splitmix64
    std::uint64_t z = (state += 0x9E3779B97F4A7C15);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
    return z ^ (z >> 31);
  }
  std::uint64_t Below(std::uint64_t n) { return Next() % n; }
  int Between(int low, int high) { return low + static_cast<int>(Below(high - low + 1)); }
};

std::uint64_t Significand(Random& r) {
  const int k = r.Between(1, 63);
  const std::uint64_t low_mask = (std::uint64_t{1} << k) - 1;
  switch (r.Below(8)) {
    case 0:  // the top bits, then exactly one half of the place below them, or not quite
      return ((r.Next() | kLead) & ~low_mask) |
             ((std::uint64_t{1} << (k - 1)) - static_cast<std::uint64_t>(r.Between(-1, 1)));
    case 1:  // the top bits only
      return (r.Next() | kLead) & ~low_mask;
    case 2:
      return kLead | r.Below(16);
    case 3:
      return ~std::uint64_t{0} - r.Below(16);
    case 4: {  // runs of ones and zeros
      std::uint64_t m = 0;
      for (int bit = 63; bit >= 0;) {
        const int run = r.Between(1, 24);
        if ((r.Next() & 1) != 0)
          m |= (run >= 64 ? ~0ULL : ((std::uint64_t{1} << run) - 1)) << std::max(0, bit - run + 1);
        bit -= run;
      }
      return m | kLead;
    }
    case 5:  // a double's 53 bits and the rounding bits below them at a halfway point
      return ((r.Next() | kLead) & ~std::uint64_t{0x7FF}) | 0x400 |
             static_cast<std::uint64_t>(r.Below(3) == 0 ? r.Below(4) : 0);
    default:
      return r.Next() | kLead;
  }
}

unsigned Exponent(Random& r) {
  switch (r.Below(6)) {
    case 0:
      return static_cast<unsigned>(r.Between(1, 0x7FFE));
    case 1:
      return static_cast<unsigned>(r.Between(1, 70));
    case 2:
      return static_cast<unsigned>(r.Between(0x7FFE - 70, 0x7FFE));
    case 3:  // the double range's ends
      return static_cast<unsigned>(((r.Next() & 1) != 0 ? kBias + 1023 : kBias - 1022) +
                                   r.Between(-70, 70));
    default:
      return static_cast<unsigned>(kBias + r.Between(-70, 70));
  }
}

SoftExtended Value(Random& r) {
  const bool negative = (r.Next() & 1) != 0;
  const std::uint64_t pick = r.Below(100);
  if (pick < 2) {
    switch (r.Below(5)) {
      case 0:
        return SoftExtended::FromFields(negative, 0, 0);
      case 1:
        return SoftExtended::FromFields(negative, 0x7FFF, kLead);
      case 2:  // quiet NaN
        return SoftExtended::FromFields(negative, 0x7FFF, kLead | (3ULL << 62) | r.Next());
      case 3:  // signalling NaN
        return SoftExtended::FromFields(negative, 0x7FFF, (kLead | (r.Next() >> 2)) + 1);
      default:
        return SoftExtended::FromFields(true, 0x7FFF, 0xC000000000000000);
    }
  }
  if (pick < 3) {  // pseudo-denormal, unnormal, pseudo-infinity, pseudo-NaN
    switch (r.Below(3)) {
      case 0:
        return SoftExtended::FromFields(negative, 0, Significand(r));
      case 1:
        return SoftExtended::FromFields(negative, Exponent(r), Significand(r) & ~kLead);
      default:
        return SoftExtended::FromFields(negative, 0x7FFF, r.Next() & ~kLead);
    }
  }
  if (pick < 10) return SoftExtended::FromFields(negative, 0, Significand(r) >> r.Between(1, 63));
  return SoftExtended::FromFields(negative, Exponent(r), Significand(r));
}

unsigned Clamp(int exponent) {
  return static_cast<unsigned>(std::min(std::max(exponent, 0), 0x7FFE));
}

// A second operand that makes a hard pair with a, for the operation op.
SoftExtended Partner(Random& r, SoftExtended a, char op) {
  const auto e = static_cast<int>(a.exponent());
  const bool negative = (r.Next() & 1) != 0;
  switch (r.Below(7)) {
    case 0: {  // nearly a: cancellation
      const std::uint64_t m = a.significand() ^ (r.Next() >> r.Between(1, 63));
      return SoftExtended::FromFields(negative, Clamp(e + r.Between(-2, 2)), m | kLead);
    }
    case 1: {  // exponents apart by about 0, 64, 128 or anything
      static constexpr int kApart[] = {0, 1, 2, 3, 62, 63, 64, 65, 66, 126, 127, 128, 129, 130};
      const int d = r.Below(3) == 0 ? r.Between(0, 300) : kApart[r.Below(14)];
      return SoftExtended::FromFields(negative, Clamp((r.Next() & 1) != 0 ? e - d : e + d),
                                      Significand(r));
    }
    case 2: {  // a product or quotient at the ends of the range
      static constexpr int kTargets[] = {0x7FFE, 0x7FFF, 1, 0, -63, -64, -30};
      const int target = kTargets[r.Below(7)] + r.Between(-2, 2);
      const int b = op == '/' ? e + static_cast<int>(kBias) - target : target - e + kBias;
      return SoftExtended::FromFields(negative, Clamp(b), Significand(r));
    }
    case 3:
      return (r.Next() & 1) != 0 ? a : -a;
    default:
      return Value(r);
  }
}

bool Same(SoftExtended soft, long double hard) {
  const SoftExtended h = ToSoft(hard);
  return soft.significand() == h.significand() && soft.exponent() == h.exponent() &&
         soft.negative() == h.negative();
}

struct Tally {
  const char* name;
  std::uint64_t count = 0;
  std::uint64_t mismatches = 0;

  void Check(bool same, const std::string& what) {
    ++count;
    if (same) return;
    if (++mismatches <= 5) std::printf("  MISMATCH %s: %s\n", name, what.c_str());
  }
};

// The row (testkit/extended_ops.h) on the software format and on the FPU.
void Compare(Tally& tally, const std::vector<std::string>& row) {
  const std::string soft = Apply<SoftExtended>(row), hard = Apply<long double>(row);
  std::string what;
  for (const std::string& field : row) what += field + " ";
  tally.Check(soft == hard, what + "gives " + soft + ", x87 " + hard);
}

void CheckArithmetic(Random& r, std::uint64_t n, Tally* tally) {
  static const char* const kOps[] = {"+", "-", "*", "/", "order", "equal"};
  for (std::uint64_t i = 0; i < n; ++i) {
    for (int k = 0; k < 6; ++k) {
      const SoftExtended a = Value(r);
      // Comparisons half the time with the value itself.
      const SoftExtended b = k < 4 || (r.Next() & 1) != 0 ? Partner(r, a, kOps[k][0]) : a;
      Compare(tally[k], {kOps[k], ExtendedText(a), ExtendedText(b)});
    }
    // The portable 128-bit helpers, which a compiler without __int128 (the
    // 32-bit Windows build) runs, against the compiler's.
    const SoftExtended a = Value(r);
    const std::uint64_t divisor = (r.Next() >> r.Between(0, 63)) | 1;
    const U128 numerator{r.Next() % divisor, r.Next()};
    std::uint64_t r1 = 0, r2 = 0;
    tally[6].Check(
        Mul64Portable(a.significand(), divisor) == Mul64(a.significand(), divisor) &&
            Div128By64Portable(numerator, divisor, &r1) == Div128By64(numerator, divisor, &r2) &&
            r1 == r2,
        "128-bit helpers on " + ExtendedText(a) + " " + std::to_string(divisor));
  }
}

void CheckConversions(Random& r, std::uint64_t n, Tally* tally) {
  static const char* const kOps[] = {"double", "trunc", "nearbyint", "odd",  "negate",
                                     "abs",    "is",    "copysign",  "int64"};
  for (std::uint64_t i = 0; i < n; ++i) {
    for (int k = 0; k < 9; ++k) {
      const SoftExtended a = Value(r);
      // To int64 only where the FPU's conversion is defined.
      if (k == 8 && (IsNaN(a) || !(Abs(a) < SoftExtended(0x1p63)))) continue;
      Compare(tally[k], {kOps[k], ExtendedText(a), ExtendedText(Value(r))});
    }
    const std::uint64_t bits = r.Next() >> r.Between(0, 63);
    const auto whole = static_cast<std::int64_t>((r.Next() & 1) != 0 ? bits : 0 - bits);
    Compare(tally[9], {"from int64", std::to_string(whole)});
    Compare(tally[10], {"from uint64", std::to_string(bits)});
    // Doubles: any bits, subnormals, and near the ends.
    std::uint64_t double_bits = r.Next();
    if (r.Below(4) == 0) double_bits &= 0x800FFFFFFFFFFFFF;
    if (r.Below(8) == 0) double_bits |= 0x7FF0000000000000;
    char hex[24];
    std::snprintf(hex, sizeof hex, "%" PRIx64, double_bits);
    Compare(tally[11], {"from double", hex});
  }
}

// digits x 10^scale through strtold, the FPU's own library.
long double Strtold(std::uint64_t digits, std::int64_t scale) {
  char text[64];
  char* end = std::to_chars(text, text + 24, digits).ptr;
  *end++ = 'e';
  end = std::to_chars(end, text + sizeof text - 1, scale).ptr;
  *end = '\0';
  return std::strtold(text, nullptr);
}

// The 18 digits std::to_chars prints for a positive value.
Digits18 PrintedDigits(long double x) {
  char text[64];
  *std::to_chars(text, text + sizeof text - 1, x, std::chars_format::scientific, 17).ptr = '\0';
  Digits18 d{static_cast<std::uint64_t>(text[0] - '0'), std::atoi(text + 20)};
  for (int i = 2; i < 19; ++i)
    d.significand = d.significand * 10 + static_cast<std::uint64_t>(text[i] - '0');
  return d;
}

void CheckDecimal(Random& r, std::uint64_t n, Tally* tally) {
  for (std::uint64_t i = 0; i < n; ++i) {
    const bool compare = i % 10 == 0;
    // Any digits at any scale; scales near the ends of the range; and the
    // 18 digits of a value, or one more or less, which lie near halfway.
    std::uint64_t digits = r.Next() >> r.Between(0, 63);
    std::int64_t scale = r.Between(-4975, 4935);
    if (r.Below(4) == 0) scale = r.Between(-40, 40);
    if (r.Below(4) == 0)
      scale = (r.Next() & 1) != 0 ? r.Between(4925, 4935) : r.Between(-4975, -4925);
    const SoftExtended value = SoftExtended::FromFields(false, Exponent(r), Significand(r));
    if (r.Below(4) == 0) {
      const Digits18 d = SoftExactDigits18(value);
      digits = d.significand + static_cast<std::uint64_t>(r.Between(-1, 1));
      scale = d.exponent - 17;
    }
    const long double hard = Strtold(digits, scale);
    const std::string what = std::to_string(digits) + "e" + std::to_string(scale);
    tally[0].Check(Same(SoftExactDecimal(digits, scale), hard), what);
    if (compare) {
      tally[1].Check(Same(extended_detail::ExactDecimalByComparison(digits, scale), hard), what);
    }

    SoftExtended x = (r.Next() & 1) != 0
                         ? value
                         : SoftExtended::FromFields(false, 0, r.Next() >> r.Between(1, 63));
    if (r.Below(8) == 0) x = ToSoft(hard);  // the digits' own value: ties at 18 digits
    if (IsInf(x) || x == 0) continue;
    const Digits18 printed = PrintedDigits(ToLongDouble(x));
    const Digits18 soft = SoftExactDigits18(x);
    tally[2].Check(soft.significand == printed.significand && soft.exponent == printed.exponent,
                   "digits of " + ExtendedText(x));
    if (compare) {
      const Digits18 compared = extended_detail::ExactDigits18ByComparison(x);
      tally[3].Check(
          compared.significand == printed.significand && compared.exponent == printed.exponent,
          "compared digits of " + ExtendedText(x));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: extended-compare N SEED\n");
    return 2;
  }
  const std::uint64_t n = std::strtoull(argv[1], nullptr, 10);
  Random r{std::strtoull(argv[2], nullptr, 10)};
  LoadFpuControlWord();  // the calculator's mode, which the FPU's results depend on

  Tally arithmetic[] = {{"add"},   {"subtract"}, {"multiply"},       {"divide"},
                        {"order"}, {"equal"},    {"128-bit helpers"}};
  Tally conversions[] = {{"to double"}, {"trunc"},      {"nearbyint"},      {"odd integer"},
                         {"negate"},    {"abs"},        {"sign and class"}, {"copysign"},
                         {"to int64"},  {"from int64"}, {"from uint64"},    {"from double"}};
  Tally decimal[] = {
      {"decimal to extended"}, {"  by comparison"}, {"18 digits"}, {"  by comparison"}};
  CheckArithmetic(r, n, arithmetic);
  CheckConversions(r, n, conversions);
  CheckDecimal(r, n / 20, decimal);

  std::uint64_t total = 0, mismatches = 0;
  std::printf("%-22s %14s %10s\n", "operation", "checked", "mismatches");
  auto print = [&](const Tally& t) {
    std::printf("%-22s %14" PRIu64 " %10" PRIu64 "\n", t.name, t.count, t.mismatches);
    total += t.count;
    mismatches += t.mismatches;
  };
  for (const Tally& t : arithmetic) print(t);
  for (const Tally& t : conversions) print(t);
  for (const Tally& t : decimal) print(t);
  std::printf("%-22s %14" PRIu64 " %10" PRIu64 "\n", "total", total, mismatches);
  return mismatches == 0 ? 0 : 1;
}
