#include "fuzz/answer_check.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr std::string_view kError = "Erreur de syntaxe";
constexpr std::string_view kResultCharacters = "0123456789.E+-";
constexpr std::size_t kShownDecimals = 6;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool AllBlanks(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

bool AllResultCharacters(std::string_view text) {
  return text.find_first_not_of(kResultCharacters) == std::string_view::npos;
}

// The grouped integer part: "0", or a first group of one to three digits not
// starting with "0" and then groups of three after a blank each.
// Returns how many characters it takes at the start of value, 0 for none.
std::size_t IntegerPartLength(std::string_view value) {
  std::size_t i = 0;
  while (i < value.size() && IsDigit(value[i])) ++i;
  if (i == 0 || i > 3 || (value[0] == '0' && i > 1)) return 0;
  if (value[0] == '0') return 1;
  while (i + 4 <= value.size() && value[i] == ' ' && IsDigit(value[i + 1]) &&
         IsDigit(value[i + 2]) && IsDigit(value[i + 3])) {
    i += 4;
  }
  // A blank and one or two digits, or a fourth digit, would be a broken group.
  if (i < value.size() && IsDigit(value[i])) return 0;
  return i;
}

std::string DisplayValueFault(std::string_view value) {
  if (value.empty()) return "empty display value";
  if (value.front() == '-') value.remove_prefix(1);
  const std::size_t integer = IntegerPartLength(value);
  if (integer == 0) return "display value without a well-grouped integer part";
  value.remove_prefix(integer);

  if (value.substr(0, 3) == " , ") {
    value.remove_prefix(3);
    const std::size_t end = std::min(value.find(' '), value.size());
    if (end > kShownDecimals) return "more than six decimals shown";
    if (!AllResultCharacters(value.substr(0, end))) return "decimal part with a foreign character";
    value.remove_prefix(end);
  }
  if (value.substr(0, 2) == " E") {
    value.remove_prefix(1);
    if (!AllResultCharacters(value)) return "exponent part with a foreign character";
    value = {};
  }
  if (!value.empty()) return "display value with trailing characters";
  return {};
}

}  // namespace

std::string AnswerFault(std::string_view line, std::string_view answer) {
  if (AllBlanks(line)) return answer.empty() ? "" : "blank line not answered with nothing";
  if (answer.empty()) return "non-blank line answered with nothing";
  if (answer == kError) return {};
  if (line.find('=') != std::string_view::npos) return "line with \"=\" not refused";

  if (answer.size() < line.size() + 3 || answer.substr(0, line.size()) != line ||
      answer.substr(line.size(), 3) != " = ") {
    return "answer neither the error nor the line followed by \" = \"";
  }
  return DisplayValueFault(answer.substr(line.size() + 3));
}
