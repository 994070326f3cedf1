// Oper: one reduction of a flat expression.
#pragma once

#include <string>
#include <string_view>

// Reduces the leftmost blank-op-blank of the expression: reads its two
// operands, computes, and writes the value back in place of the operands and
// the operator. op is one of "^", "*", "/", "+", "-".
std::string Oper(std::string_view expression, std::string_view op);

class NumberText;

// The arithmetic of one reduction, on operand texts already found: the value
// text (kept in `value`), or "Erreur de syntaxe" when an operand holds no
// digit. `left_value`, when given, is what the left text is known to read as.
// Writes the reduction's "syntax error" or "solved" trace line; Oper and Solv
// write the lines that show the whole expression.
std::string_view ReduceOperands(std::string_view left, std::string_view op, std::string_view right,
                                NumberText& value, const long double* left_value = nullptr);
