// The step-by-step engine: every step of the evaluation is a whole-line text
// operation, exactly as the calculator's rules are written, with no shortcut
// of any kind. It is the engine of every build with the debug log on, because
// its trace is the literal record of each rewrite; so it answers a refusal
// with the text "Erreur de syntaxe", as the trace shows it. Its time grows
// with the square of the line, so the delivered build uses the fast engine of
// eval/fast/ instead; the two share the rules, the number texts, the
// arithmetic and the display of a result, and reach every answer each on its
// own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "eval/steps/build.h"

namespace steps {
inline namespace LUMOCALC_STEPS_BUILD {

// Cleans, repairs and spaces the line, then solves its parenthesised groups
// innermost first and the rest last. Returns "0", "Erreur de syntaxe", or
// Solv's answer for the final line.
std::string Eval(std::string_view line);

// Eval as the display takes an engine's answer: a result that holds
// "Erreur de syntaxe" is a refusal, nothing.
std::optional<std::string> EvalForDisplay(std::string_view line);

}  // namespace LUMOCALC_STEPS_BUILD
}  // namespace steps
