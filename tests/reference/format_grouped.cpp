// FormatGrouped: the integer part of a displayed result, «1,234,567».
//
// The value is rounded to an integer (ties to even), written in full, never in
// scientific form, with at most 18 significant digits and zeros after them,
// and "," between groups of three digits counted from the right.
#include <cmath>

#include "tests/reference/reference.h"

namespace reference {

std::string FormatGrouped(long double value) {
  const long double whole = std::nearbyint(value);  // the FPU rounds to nearest, ties to even
  // No caller passes an infinity or NaN; they get "0" rather than garbage.
  if (whole == 0 || !std::isfinite(whole)) return "0";

  const DecimalDigits d = SignificantDigits18(std::fabs(whole));
  const std::size_t length = static_cast<std::size_t>(d.exponent) + 1;
  std::string digits(d.digit, length < 18 ? length : 18);
  digits.resize(length, '0');

  std::string text = whole < 0 ? "-" : "";
  text.reserve(length + length / 3 + 1);
  for (std::size_t i = 0; i < length; ++i) {
    if (i > 0 && (length - i) % 3 == 0) text.push_back(',');
    text.push_back(digits[i]);
  }
  return text;
}

}  // namespace reference
