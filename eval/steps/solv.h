// The step engine's Solv: the value of a flat expression, one without
// parentheses, by repeated calls of Oper.
#pragma once

#include <string>
#include <string_view>

#include "eval/steps/build.h"

namespace steps {
inline namespace LUMOCALC_STEPS_BUILD {

// Reduces every "^" first, then "*" and "/", then "+" and "-", each level from
// left to right. Returns the number text left at the end, "0" for an empty
// expression, or "Erreur de syntaxe".
std::string Solv(std::string_view expression);

}  // namespace LUMOCALC_STEPS_BUILD
}  // namespace steps
