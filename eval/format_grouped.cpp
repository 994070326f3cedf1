// FormatGrouped: the integer part of a displayed result, «1,234,567».
//
// The value is rounded to an integer (ties to even), written in full, never in
// scientific form, with at most 18 significant digits and zeros after them,
// and "," between groups of three digits counted from the right.
#include <charconv>
#include <cstdint>

#include "eval/number_text.h"
#include "eval/significant_digits.h"

void AppendGrouped(Extended value, char separator, std::string& out) {
  // Below 10^18 the integer is exact in 64 bits; rounded to nearest, ties to even.
  const Extended magnitude = Abs(value);
  constexpr Extended kTenTo18 = 1e18;
  const bool small = magnitude < kTenTo18;
  const std::uint64_t small_whole = small ? NearestInteger(magnitude) : 0;
  const Extended whole =
      small ? CopySign(static_cast<Extended>(small_whole), value) : NearbyInt(value);
  // No caller passes an infinity or NaN; they get "0" rather than garbage.
  if (whole == 0 || !IsFinite(whole)) {
    out.push_back('0');
    return;
  }
  // Up to 18 significant digits, then zeros up to `length` digits in all.
  char significant[20];
  std::size_t used;
  std::size_t length;
  if (small) {
    // Exact: an integer of at most 18 digits.
    const char* end = std::to_chars(significant, significant + sizeof significant, small_whole).ptr;
    used = length = static_cast<std::size_t>(end - significant);
  } else {
    const Digits18 d = SignificantDigits18(Abs(whole));
    std::to_chars(significant, significant + sizeof significant, d.significand);
    used = 18;
    length = static_cast<std::size_t>(d.exponent) + 1;
  }
  const std::size_t start = out.size();
  out.resize(start + (whole < 0 ? 1 : 0) + length + (length - 1) / 3);
  char* write = out.data() + start;
  if (whole < 0) *write++ = '-';
  for (std::size_t i = 0; i < length; ++i) {
    if (i > 0 && (length - i) % 3 == 0) *write++ = separator;
    *write++ = i < used ? significant[i] : '0';
  }
}

std::string FormatGrouped(Extended value) {
  std::string text;
  AppendGrouped(value, ',', text);
  return text;
}
