// The engine against the text-rewriting reference, on one line: both answers
// (Eval's and Calculate's) and, in a build with the trace, both traces.
#pragma once

#include <string>

// Empty when the two agree; otherwise what differs.
std::string Mismatch(const std::string& line);
