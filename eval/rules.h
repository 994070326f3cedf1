// The rules of the evaluation as tables: the rewrites of the line, the
// characters its checks look for, and the precedence levels of the solver.
//
// Both engines read these tables rather than each keeping a copy of its own. A
// rule belongs to the calculator, not to an engine: written twice, it would
// have to be changed twice. What comparing the two engines checks is how each
// applies the rules (the step engine literally, one whole-line rewrite per
// rule; the fast engine in one pass, skipping what can't match), and that it
// still checks; what the rules say is checked by the case tables of
// tests/cases/.
#pragma once

#include <string_view>

struct Rule {
  std::string_view search;
  std::string_view replacement;
};

// An operator left dangling next to a parenthesis is dropped: «(5*)» is «(5)».
inline constexpr Rule kRepairs[] = {{"-)", ")"}, {"*)", ")"}, {"/)", ")"}, {"+)", ")"},
                                    {"^)", ")"}, {"(*", "("}, {"(/", "("}, {"(^", "("}};

// A minus after an operator or "(" is glued to its number; sign pairs fold.
inline constexpr Rule kMinusRules[] = {{"* - ", "* -"}, {"/ - ", "/ -"}, {"+ - ", "- "},
                                       {"- - ", "+ "},  {"^ - ", "^ -"}, {"( - ", "( -"}};
// A plus after an operator or "(" is dropped.
inline constexpr Rule kPlusRules[] = {{"* + ", "* "}, {"/ + ", "/ "}, {"+ + ", "+ "},
                                      {"- + ", "- "}, {"^ + ", "^ "}, {"( + ", "( "}};

// The refusal checks of a typed line.
inline constexpr std::string_view kNoFirst = "*/^";        // may not begin a line
inline constexpr std::string_view kOperators = "*/^+-";    // counted...
inline constexpr std::string_view kDigits = "0123456789";  // ...against these
// What is stripped from the end of the line, one character after another.
inline constexpr std::string_view kStrippedAtEnd = "*+-/^(";
// What the spaced form puts between single blanks.
inline constexpr std::string_view kSpaced = "*+-/^()";

// The solver's precedence levels, tightest first, each reduced from left to
// right: an operator character and its partner of the same level, or 0.
struct Level {
  char first;
  char second;
};
inline constexpr Level kLevels[] = {{'^', 0}, {'*', '/'}, {'+', '-'}};

// A flat expression may not end with one of these, nor begin with one of the
// others ("-" may begin: it is a sign); its answer holds only number characters.
inline constexpr std::string_view kNoEnd = "*+-/^(";
inline constexpr std::string_view kNoStart = "*+/^(";
inline constexpr std::string_view kNumberCharacters = "0123456789.E+-";
