// The two engines on one line: the fast engine of the delivered build and
// the step engine of the traced build must give the same answer, and it must
// have the form of an answer.
#pragma once

#include <string>
#include <string_view>

// What the fast engine shows for the line.
std::string Shown(std::string_view line);

// Empty when all is well; otherwise what is wrong.
std::string Mismatch(std::string_view line);
