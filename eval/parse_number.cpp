// ParseNumber: what a number text is worth.
//
//   [blanks, tabs, LFs] [sign] ( "&" radix-text | mantissa [marker [sign] digits] )
//
// The mantissa is a run of digits with at most one "."; the exponent marker is
// "E", "e", "D" or "d". Of the significant digits the first 18 are used, the
// rest only move the point. A CR, a second sign or a second "." ends the text.
#include <cstdint>

#include "eval/number_text.h"

namespace {

constexpr int kUsedDigits = 18;
constexpr int kMaxExponent = 9999;
constexpr std::int64_t kTooLarge = 4932;   // first significant digit at 10^4932 or more
constexpr std::int64_t kTooSmall = -4934;  // first significant digit at 10^-4934 or less

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

Extended ParseNumber(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // A sign applies to a radix text too: «-&H1F» is -31.
  if (i < n && text[i] == '&') {
    const Extended radix = ParseRadixNumber(text.substr(i + 1));
    return negative ? -radix : radix;
  }

  // value = digits x 10^scale
  std::uint64_t digits = 0;
  int used = 0;
  std::int64_t scale = 0;
  const std::size_t mantissa = i;
  while (i < n && text[i] == '0') ++i;  // leading zeros are not significant
  for (; i < n && IsDigit(text[i]); ++i) {
    if (used < kUsedDigits) {
      digits = digits * 10 + static_cast<std::uint64_t>(text[i] - '0');
      ++used;
    } else {
      ++scale;  // dropped, but it still stands before the point
    }
  }
  if (i < n && text[i] == '.') {
    ++i;
    if (used == 0) {
      for (; i < n && text[i] == '0'; ++i) --scale;  // a leading zero only moves the point
    }
    for (; i < n && IsDigit(text[i]); ++i) {
      if (used < kUsedDigits) {
        digits = digits * 10 + static_cast<std::uint64_t>(text[i] - '0');
        ++used;
        --scale;
      }
    }
  }
  // The mantissa holds a digit unless it is empty or a lone ".".
  const std::size_t mantissa_length = i - mantissa;
  const bool any_digit = mantissa_length > 1 || (mantissa_length == 1 && text[mantissa] != '.');
  if (!any_digit) return 0;

  std::int64_t exponent = 0;
  if (i < n && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    ++i;
    bool exponent_negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) exponent_negative = text[i++] == '-';
    for (; i < n && IsDigit(text[i]); ++i) {
      exponent = exponent * 10 + (text[i] - '0');
      if (exponent > kMaxExponent) exponent = kMaxExponent;
    }
    if (exponent_negative) exponent = -exponent;
  }
  if (used == 0) return 0;  // only zeros

  scale += exponent;
  const std::int64_t first_digit_power = scale + used - 1;
  Extended value;
  if (first_digit_power >= kTooLarge) {
    value = static_cast<Extended>(0x1p127);
  } else if (first_digit_power <= kTooSmall) {
    value = 0;
  } else {
    value = scale == 0 ? static_cast<Extended>(digits) : DecimalToExtended(digits, scale);
  }
  return negative ? -value : value;
}
