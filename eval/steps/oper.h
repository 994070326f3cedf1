// The step engine's Oper: one reduction of a flat expression.
#pragma once

#include <string>
#include <string_view>

#include "eval/steps/build.h"

namespace steps {
inline namespace LUMOCALC_STEPS_BUILD {

// The first « op » of the expression and its two operands replaced by the
// value's text; the expression as it stands when op does not occur;
// "Erreur de syntaxe" when an operand holds no digit.
std::string Oper(std::string_view expression, std::string_view op);

}  // namespace LUMOCALC_STEPS_BUILD
}  // namespace steps
