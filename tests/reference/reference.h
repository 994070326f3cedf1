// The straightforward text-rewriting evaluation, kept as the reference the
// engine is compared with: every step is a whole-line text operation exactly
// as the calculator describes it, with no shortcut of any kind. It is slow on
// long lines (quadratic) and not meant for anything but comparison.
#pragma once

#include <string>
#include <string_view>

#include "diag/debug_log.h"
#include "eval/text.h"

namespace reference {

std::string Calculate(std::string_view line);
std::string Eval(std::string_view line);
std::string Solv(std::string_view expression);
std::string Oper(std::string_view expression, std::string_view op);

long double ParseNumber(std::string_view text);
long double ParseRadixNumber(std::string_view text);
std::string FormatNumber(long double value);
std::string FormatGrouped(long double value);
double RoundToDouble(long double value);

long double Apply(char op, long double x, long double y);
long double Power(long double x, long double y);

struct DecimalDigits {
  char digit[18];
  int exponent;
};
DecimalDigits SignificantDigits18(long double magnitude);

std::size_t CountOf(std::string_view text, std::string_view set);
std::string ReplaceAll(std::string_view text, std::string_view search,
                       std::string_view replacement);
std::string_view TrimBlanks(std::string_view text);

}  // namespace reference
