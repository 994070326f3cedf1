// What the calculator shows for a typed line, whichever engine evaluates it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// An engine's Eval: a typed line to its result text, or to nothing when the
// line is refused.
using Evaluator = std::optional<std::string> (*)(std::string_view line);

// Appends to `out` nothing for a line of blanks only, "Erreur de syntaxe",
// the one error text, for a line that the engine refuses, otherwise the line
// as typed, " = " and the value in display form: «1234567.891» shows as
// «1 234 567 , 891».
void AppendDisplayed(std::string_view line, Evaluator eval, std::string& out);
