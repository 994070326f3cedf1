// A line as a front end that reads UTF-8 holds it (the terminal, the web
// page, lumocalc-eval), answered as the window answers the same characters.
#pragma once

#include <string>
#include <string_view>

#include "session/input_handling.h"

// The answer to a line of UTF-8 as `calculate` gives it for the same
// characters in the window's single-byte text, in UTF-8, the line it starts
// with as typed; "Erreur de syntaxe" for a line with a character that text
// has not, never another line's answer.
std::string CalculateTyped(std::string_view line, Calculator calculate);

// The evaluation that appends its answer to a text (AppendCalculated in the
// programs), for a caller that gathers many answers in one buffer.
using AppendingCalculator = void (*)(std::string_view line, std::string& out);

// CalculateTyped, the answer appended to `out` (which does not hold `line`).
void AppendCalculatedTyped(std::string_view line, AppendingCalculator calculate, std::string& out);
