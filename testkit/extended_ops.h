// The operations the extended format is held to, on a row of operands as
// text (tests/cases/extended.txt): «op, operand..., result». Apply<T> carries
// the row out on T, SoftExtended or, where it is the x87 format, the FPU's
// long double, so that the table and the generated comparison with the FPU
// ask the same questions of both.
#pragma once

#include <cinttypes>
#include <compare>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

#include "number/bit_cast.h"
#include "number/extended.h"
#include "testkit/extended_text.h"

namespace extended_ops {

inline std::string Text(SoftExtended x) {
  return ExtendedText(x);
}
inline std::string Text(double d) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%016" PRIX64, BitCast<std::uint64_t>(d));
  return text;
}
inline std::string Text(Digits18 d) {
  return std::to_string(d.significand) + "e" + std::to_string(d.exponent);
}
inline std::string Order(std::partial_ordering order) {
  return order < 0 ? "lt" : order > 0 ? "gt" : order == 0 ? "eq" : "un";
}

// A value as T (the second argument only picks the type).
inline SoftExtended As(SoftExtended x, SoftExtended) {
  return x;
}
#ifdef LUMOCALC_X87_LONG_DOUBLE
inline long double As(SoftExtended x, long double) {
  return ToLongDouble(x);
}
#endif

}  // namespace extended_ops

// What the row's operation gives on T, as text; "" for one T doesn't do.
// `row[0]` is the operation, the operands follow.
template <typename T>
std::string Apply(const std::vector<std::string>& row) {
  using namespace extended_ops;
  constexpr bool kSoft = std::is_same_v<T, SoftExtended>;
  const std::string& op = row[0];
  const auto value = [&row](std::size_t field) { return As(ParseExtendedText(row[field]), T{}); };
  const auto text = [](T x) { return Text(ToSoft(x)); };
  if (op == "+") return text(value(1) + value(2));
  if (op == "-") return text(value(1) - value(2));
  if (op == "*") return text(value(1) * value(2));
  if (op == "/") return text(value(1) / value(2));
  if (op == "negate") return text(-value(1));
  if (op == "order") return Order(value(1) <=> value(2));
  if (op == "equal") return value(1) == value(2) ? "1" : "0";
  if (op == "double") return Text(ToDouble(value(1)));
  if (op == "from double") {
    return text(static_cast<T>(BitCast<double>(std::stoull(row[1], nullptr, 16))));
  }
  if (op == "from int64") return text(static_cast<T>(std::stoll(row[1])));
  if (op == "from uint64") return text(static_cast<T>(std::stoull(row[1])));
  if (op == "nearbyint") return text(NearbyInt(value(1)));
  if (op == "trunc") return text(Trunc(value(1)));
  if (op == "abs") return text(Abs(value(1)));
  if (op == "copysign") return text(CopySign(value(1), value(2)));
  if (op == "odd") return IsOddInteger(value(1)) ? "1" : "0";
  if (op == "int64") {  // undefined beyond the range for long double
    return kSoft || !IsNaN(value(1)) ? std::to_string(static_cast<std::int64_t>(value(1))) : "";
  }
  if (op == "log") return kSoft ? text(Log(value(1))) : "";
  if (op == "exp") return kSoft ? text(Exp(value(1))) : "";
  if (op == "is") {
    const T v = value(1);
    const std::string sign = SignBit(v) ? " negative" : "";
    if (IsNaN(v)) return "nan" + sign;
    return (IsInf(v) ? "inf" : IsFinite(v) ? "finite" : "?") + sign;
  }
  // In software, rows take both roads of the decimal conversions, which make
  // the exact comparison only near a rounding boundary. (On the FPU: its
  // library's strtold; extended-compare holds the 18 digits against
  // std::to_chars.)
  if constexpr (kSoft) {
    using namespace extended_detail;
    const auto both = [](const std::string& fast, const std::string& exact) {
      return fast == exact ? fast : "roads part: " + fast + " " + exact;
    };
    if (op == "decimal") {
      const std::uint64_t digits = std::stoull(row[1]);
      const std::int64_t scale = std::stoll(row[2]);
      return both(text(SoftExactDecimal(digits, scale)),
                  text(ExactDecimalByComparison(digits, scale)));
    }
    if (op == "digits") {
      return both(Text(SoftExactDigits18(value(1))), Text(ExactDigits18ByComparison(value(1))));
    }
  } else if (op == "decimal") {
    return text(std::strtold((row[1] + "e" + row[2]).c_str(), nullptr));
  }
  return op == "digits" ? "" : "unknown operation";
}
