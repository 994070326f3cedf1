// FormatNumber: a value as the text written back into the expression.
//
// Rounding goes in two stages, as the calculator always has: the exact value
// to 18 significant digits (ties to even), then to 15 by the 16th digit alone
// (above 5 up, below 5 down, exactly 5 to make the 15th digit even). Trailing
// zeros go; the text is positional unless that needs more than 15 integer
// digits or more than 15 decimals. No "0" before the point, no "+" in front.
#include <cmath>

#include "tests/reference/reference.h"

namespace reference {

namespace {

constexpr int kDigits = 15;

// The text an infinity is shown as: it reads back as a finite number.
constexpr const char kInfinityText[] = "9.99999999999999E+998";

}  // namespace

std::string FormatNumber(long double value) {
  if (value == 0 || std::isnan(value)) return " 0";
  const char* sign = std::signbit(value) ? "-" : " ";
  if (std::isinf(value)) return std::string(sign) + kInfinityText;

  DecimalDigits d = SignificantDigits18(std::fabs(value));
  const char sixteenth = d.digit[kDigits];
  const bool round_up =
      sixteenth > '5' || (sixteenth == '5' && ((d.digit[kDigits - 1] - '0') % 2 == 1));
  if (round_up) {
    int at = kDigits - 1;
    while (at >= 0 && d.digit[at] == '9') d.digit[at--] = '0';
    if (at >= 0) {
      ++d.digit[at];
    } else {
      d.digit[0] = '1';  // 999...9 carried over: one more power of ten
      ++d.exponent;
    }
  }
  int m = kDigits;
  while (m > 1 && d.digit[m - 1] == '0') --m;
  const int e = d.exponent + 1;  // value = 0.d1...dm x 10^e
  const std::string_view digits(d.digit, static_cast<std::size_t>(m));

  std::string text(sign);
  const bool whole = m <= e;
  const bool positional = whole ? e <= kDigits : m - e <= kDigits;
  if (positional && whole) {
    text.append(digits).append(static_cast<std::size_t>(e - m), '0');
  } else if (positional && e <= 0) {
    text.append(1, '.').append(static_cast<std::size_t>(-e), '0').append(digits);
  } else if (positional) {
    text.append(digits.substr(0, e)).append(1, '.').append(digits.substr(e));
  } else {
    text.append(1, digits[0]);
    if (m > 1) text.append(1, '.').append(digits.substr(1));
    text.append(e - 1 < 0 ? "E-" : "E+").append(std::to_string(std::abs(e - 1)));
  }
  return text;
}

}  // namespace reference
