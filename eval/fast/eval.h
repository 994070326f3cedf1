// The fast engine's Eval: one typed line to its result, in time linear in the
// line's length.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fast {

// Cleans, repairs and spaces the line, then solves its parenthesised groups
// innermost first and the rest last. Returns "0", Solv's answer for the final
// line, or nothing when the line is refused.
std::optional<std::string> Eval(std::string_view line);

}  // namespace fast
