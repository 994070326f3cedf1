// The arithmetic of one reduction, in the x87 extended format with every
// exception masked: an overflow is an infinity, an invalid operation a NaN.
#pragma once

// x op y for op one of '^', '*', '/', '+', '-'. A zero divisor gives 0.
long double Apply(char op, long double x, long double y);

// x raised to the power y. A negative base takes the exponent rounded to the
// nearest integer; integer exponents below 65,536 are multiplied out.
long double Power(long double x, long double y);
