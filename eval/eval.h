// Eval: one typed line to its result text.
#pragma once

#include <string>
#include <string_view>

// Cleans, repairs and spaces the line, then solves its parenthesised groups
// innermost first and the rest last. Returns "0", "Erreur de syntaxe", or
// Solv's answer for the final line.
std::string Eval(std::string_view line);
