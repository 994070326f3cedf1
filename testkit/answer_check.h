// What every answer of Calculate must look like, whatever the line: the
// checks of the fuzz target and of the corpus replay.
#pragma once

#include <string>
#include <string_view>

// Why answer can't be Calculate's answer for line, or "" when it can:
//  - a line of blanks only (spaces, no-break spaces, or nothing) is answered "", any other line
//  not;
//  - a line with "=" is refused with "Erreur de syntaxe";
//  - otherwise the answer is "Erreur de syntaxe" or the line, " = " and a
//    display value: an optional "-", the integer part in groups of three
//    digits between blanks, then optionally " , " and at most six characters
//    of the result text, then optionally " E" and the rest of it. The result
//    text holds digits, ".", "E", "+" and "-" only.
std::string AnswerFault(std::string_view line, std::string_view answer);
