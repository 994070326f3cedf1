// The step-by-step engine: every step of the evaluation is a whole-line text
// operation, exactly as the calculator's rules are written, with no shortcut
// of any kind. It is the engine of every build with the debug log on, because
// its trace is the literal record of each rewrite. Its time grows with the
// square of the line, so the delivered build uses the one-pass engine of
// eval/ instead; the two share the number texts, the arithmetic and the
// display of a result, and reach every answer each on its own.
#pragma once

#include <string>
#include <string_view>

namespace steps {

std::string Eval(std::string_view line);
std::string Solv(std::string_view expression);
std::string Oper(std::string_view expression, std::string_view op);

}  // namespace steps
