// Oper: one reduction of a flat expression.
#pragma once

#include <string>
#include <string_view>

// Reduces the leftmost blank-op-blank of the expression: reads its two
// operands, computes, and writes the value back in place of the operands and
// the operator. op is one of "^", "*", "/", "+", "-".
std::string Oper(std::string_view expression, std::string_view op);
