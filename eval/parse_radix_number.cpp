// ParseRadixNumber: the text after a leading "&", read as an integer.
//
//   ["H"|"h" hex | "O"|"o"|"Q"|"q" octal | "B"|"b" binary | octal] digits [marker]
//
// The digits give an unsigned 64-bit v, which is then read as signed by the
// width it needs: over 32 bits as 64-bit two's complement; 17 to 32 bits with
// bit 31 set as v - 2^32; up to 16 bits with bit 15 set as v - 65536. A leading
// "0" digit keeps either of the last two positive, and so does the marker "&&"
// (or, for 16 bits, "&"). "?" makes v unsigned, "%" changes nothing. No digit,
// or more than 64 bits of them, gives 0.
#include <cstdint>

#include "eval/number_text.h"

namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 99;
}

int Radix(char prefix) {
  switch (prefix) {
    case 'H':
    case 'h':
      return 16;
    case 'O':
    case 'o':
    case 'Q':
    case 'q':
      return 8;
    case 'B':
    case 'b':
      return 2;
    default:
      return 0;  // no prefix letter: octal, and this byte is the first digit
  }
}

int BitWidth(std::uint64_t v) {
  int width = 0;
  for (; v != 0; v >>= 1) ++width;
  return width;
}

}  // namespace

Extended ParseRadixNumber(std::string_view text) {
  std::size_t i = 0;
  int radix = 8;
  if (!text.empty() && Radix(text[0]) != 0) {
    radix = Radix(text[0]);
    i = 1;
  }
  const std::size_t first = i;
  std::uint64_t v = 0;
  for (; i < text.size() && DigitValue(text[i]) < radix; ++i) {
    const auto digit = static_cast<std::uint64_t>(DigitValue(text[i]));
    if (v > (UINT64_MAX - digit) / static_cast<std::uint64_t>(radix)) return 0;
    v = v * static_cast<std::uint64_t>(radix) + digit;
  }
  if (i == first) return 0;

  const std::string_view marker = text.substr(i);
  const bool leading_zero = text[first] == '0';
  const bool long_marker = marker.substr(0, 2) == "&&";
  const bool any_ampersand = marker.substr(0, 1) == "&";
  if (marker.substr(0, 1) == "?") {
    return (v >> 63) != 0 ? 0 : static_cast<Extended>(v);
  }
  const int width = BitWidth(v);
  if (width > 32) return static_cast<Extended>(static_cast<std::int64_t>(v));
  if (width > 16) {
    const bool negative = (v >> 31) != 0 && !long_marker && !leading_zero;
    const auto n = static_cast<std::int64_t>(v);
    return static_cast<Extended>(negative ? n - 4294967296 : n);
  }
  const bool negative = (v >> 15) != 0 && !any_ampersand && !leading_zero;
  const auto n = static_cast<std::int64_t>(v);
  return static_cast<Extended>(negative ? n - 65536 : n);
}
