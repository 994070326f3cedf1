// The arithmetic of one reduction, in the x87 extended format with every
// exception masked: an overflow is an infinity, an invalid operation a NaN.
#pragma once

#include <limits>

#include "number/extended.h"

// x raised to the power y. A negative base takes the exponent rounded to the
// nearest integer; integer exponents below 65,536 are multiplied out.
Extended Power(Extended x, Extended y);

// x op y for op one of '^', '*', '/', '+', '-'. A zero divisor gives 0.
// Inline: every reduction comes here, and an extended value passed to a
// function goes through memory.
inline Extended Apply(char op, Extended x, Extended y) {
  switch (op) {
    case '^':
      return Power(x, y);
    case '*':
      return x * y;
    case '/':
      return y == 0 ? 0 : x / y;
    case '+':
      return x + y;
    case '-':
      return x - y;
    default:
      return std::numeric_limits<Extended>::quiet_NaN();
  }
}
