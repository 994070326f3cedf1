// Calculate: the text the calculator shows for one typed line.
#pragma once

#include <string>
#include <string_view>

// The empty text for a line of blanks only, "Erreur de syntaxe" for a line
// that can't be evaluated, otherwise the line as typed, " = " and the value
// in display form: «1234567.891» shows as «1 234 567 , 891».
std::string Calculate(std::string_view line);

// Calculate, appended to `out`: for a caller that answers many lines into one
// buffer, as the console evaluator does.
void AppendCalculated(std::string_view line, std::string& out);
