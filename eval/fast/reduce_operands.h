// One reduction of a flat expression, on operand texts already found.
#pragma once

#include <optional>
#include <string_view>

#include "number/extended.h"

class NumberText;

namespace fast {

// x op y for the operand texts left and right, rounded to a double and written
// with 15 significant digits into `value`; the returned view is that text
// without FormatNumber's leading blank. Nothing (a refusal) when an operand
// holds no digit: nothing else is asked of an operand, and ParseNumber decides
// what it is worth. `left_value`, when given, is what the left text is known
// to read as.
std::optional<std::string_view> ReduceOperands(std::string_view left, char op,
                                               std::string_view right, NumberText& value,
                                               const Extended* left_value = nullptr);

}  // namespace fast
