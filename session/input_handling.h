// What a change of the input field does, as plain functions over texts so that
// the rules can be tested without a window, and every front end follows the
// same ones. MainDialogProc only reads the fields, calls ReactToInputChange and
// carries out the reaction; the terminal does the same with its input line.
#pragma once

#include <string>
#include <string_view>

// A line break in the input is the two bytes CR LF that Enter inserts into the
// multi-line field; a lone CR or LF (pasted) is part of the line.
inline constexpr std::string_view kLineBreak = "\r\n";

bool HasLineBreak(std::string_view text);

// Every CR LF pair removed in one left-to-right pass: CR CR LF LF becomes CR LF,
// which the next change of the input treats as a line break again.
std::string RemoveLineBreaks(std::string_view text);

// The history with one more entry on top; the newest entry comes first and
// every entry ends with CR LF.
std::string PrependToHistory(std::string_view entry, std::string_view history);

// The evaluation the input is handed to (Calculate in the program; a counting
// stand-in in the tests).
using Calculator = std::string (*)(std::string_view line);

enum class InputReaction {
  kNothing,     // same text as last evaluated: no evaluation, nothing shown anew
  kShowResult,  // text is the new result field
  kCommit,      // text goes on top of the history; input and result are emptied
  kRefuse,      // nothing to commit: text is the input without its line breaks
};

struct InputChange {
  InputReaction reaction = InputReaction::kNothing;
  std::string text;
};

// The rules for a new text of the input field. last_line is the line last
// handed to the calculator (never holding CR LF) and last_result its answer;
// both are updated here. A line break commits a valid last result, whatever
// the text around the break; a blank or failed line is refused and stays for
// correction, with only its line breaks taken out again.
InputChange ReactToInputChange(std::string_view text, std::string& last_line,
                               std::string& last_result, Calculator calculate);
