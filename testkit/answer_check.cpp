#include "testkit/answer_check.h"

#include <regex>

namespace {

constexpr std::string_view kError = "Erreur de syntaxe";

// An optional "-", the integer part ("0", or groups of three digits after a
// first group of one to three not starting with "0"), then optionally " , "
// and at most six characters of the result text, then optionally " E" and the
// rest of it. A result text holds digits, ".", "E", "+" and "-" only.
const std::regex kDisplayValue(
    R"(-?(0|[1-9][0-9]{0,2}( [0-9]{3})*)( , [0-9.E+-]{0,6})?( E[0-9.E+-]*)?)");

}  // namespace

std::string AnswerFault(std::string_view line, std::string_view answer) {
  if (line.find_first_not_of(" \xA0") == std::string_view::npos) {  // the two blanks
    return answer.empty() ? "" : "blank line not answered with nothing";
  }
  if (answer.empty()) return "non-blank line answered with nothing";
  if (answer == kError) return {};
  if (line.find('=') != std::string_view::npos) return "line with \"=\" not refused";
  if (answer.size() < line.size() + 3 || answer.substr(0, line.size()) != line ||
      answer.substr(line.size(), 3) != " = ") {
    return "answer neither the error nor the line followed by \" = \"";
  }
  const std::string_view value = answer.substr(line.size() + 3);
  if (!std::regex_match(value.begin(), value.end(), kDisplayValue))
    return "malformed display value";
  return {};
}
