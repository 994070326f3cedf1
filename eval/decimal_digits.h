// The exact decimal digits of a value, rounded once to 18 significant digits,
// to nearest with ties to even. FormatNumber and FormatGrouped both start here.
#pragma once

struct DecimalDigits {
  char digit[18];  // '0'..'9'; digit[0] is not '0'
  int exponent;    // value = digit[0].digit[1]...digit[17] x 10^exponent
};

// magnitude must be finite and above zero.
DecimalDigits SignificantDigits18(long double magnitude);
