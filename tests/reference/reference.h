// The straightforward text-rewriting evaluation, kept as the reference the
// engine is compared with: every step is a whole-line text operation exactly
// as the calculator describes it, with no shortcut of any kind. It is slow on
// long lines (quadratic) and not meant for anything but comparison. It shares
// with the engine only what has no shortcut to check: the arithmetic, radix
// texts, exact scaling by powers of ten and the text operations.
#pragma once

#include <string>
#include <string_view>

#include "diag/debug_log.h"
#include "eval/arithmetic.h"
#include "eval/number_text.h"
#include "eval/text.h"

namespace reference {

std::string Calculate(std::string_view line);
std::string Eval(std::string_view line);
std::string Solv(std::string_view expression);
std::string Oper(std::string_view expression, std::string_view op);

long double ParseNumber(std::string_view text);
std::string FormatNumber(long double value);
std::string FormatGrouped(long double value);

struct DecimalDigits {
  char digit[18];
  int exponent;
};
DecimalDigits SignificantDigits18(long double magnitude);

}  // namespace reference
