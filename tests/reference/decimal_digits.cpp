#include "tests/reference/reference.h"

#include <charconv>
#include <cstring>

namespace reference {

DecimalDigits SignificantDigits18(long double magnitude) {
  // std::to_chars prints the exact binary value correctly rounded; the double
  // overload is the fast road for the values the calculator actually formats.
  char text[64];
  std::to_chars_result printed;
  const double narrow = static_cast<double>(magnitude);
  if (static_cast<long double>(narrow) == magnitude) {
    printed = std::to_chars(text, text + sizeof text, narrow, std::chars_format::scientific, 17);
  } else {
    printed = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 17);
  }
  // "d.ddddddddddddddddde+XX"
  DecimalDigits out{};
  out.digit[0] = text[0];
  std::memcpy(out.digit + 1, text + 2, 17);
  const char* at = text + 20;  // past "e"
  const bool negative = *at == '-';
  int exponent = 0;
  for (++at; at < printed.ptr; ++at) exponent = exponent * 10 + (*at - '0');
  out.exponent = negative ? -exponent : exponent;
  return out;
}

}  // namespace reference
