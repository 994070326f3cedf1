// The fast engine's Solv: the value of a flat expression, one without
// parentheses.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fast {

// Reduces every "^" first, then "*" and "/", then "+" and "-", each level from
// left to right. Returns the number text left at the end, "0" for an empty
// expression, or nothing when the expression is refused.
std::optional<std::string> Solv(std::string_view expression);

}  // namespace fast
