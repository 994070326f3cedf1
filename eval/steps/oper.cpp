// Oper, on «7 + 2 * 3 + 12 * 34» with "*":
//   the first " * " is found; the left operand runs back to the previous blank
//   («2»), the right one forward to the next blank («3»); «2 * 3» is replaced,
//   and only it, by the value's text: «7 + 6 + 12 * 34».
// An operand is demanded to hold a digit and nothing more; ParseNumber decides
// what it is worth. The value is rounded to a double and written back with 15
// significant digits, so every intermediate result is rounded to its text.
#include "eval/steps/oper.h"

#include <algorithm>

#include "diag/debug_log.h"
#include "eval/arithmetic.h"
#include "eval/number_text.h"
#include "eval/text.h"

namespace steps {
inline namespace LUMOCALC_STEPS_BUILD {

std::string Oper(std::string_view expression, std::string_view op) {
  const std::string_view w = TrimBlanks(expression);
  Trace("Oper>    treating first ", op, " operand in ", w);

  const std::string pattern = std::string(" ").append(op).append(" ");
  const std::size_t at = w.find(pattern);
  if (at == std::string_view::npos || op.empty()) {
    Trace("Oper>    no (more) ", op, " operand in ", w);
    return std::string(w);
  }
  // The left operand ends right before the operator's blank and begins after
  // the previous blank; the right one begins after the operator's second blank
  // and ends before the next blank. Either may be empty.
  const std::size_t blank_before = at == 0 ? std::string_view::npos : w.rfind(' ', at - 1);
  const std::size_t left_begin = blank_before == std::string_view::npos ? 0 : blank_before + 1;
  const std::size_t right_begin = at + pattern.size();
  const std::size_t right_end = std::min(w.find(' ', right_begin), w.size());
  const std::string_view left = w.substr(left_begin, at - left_begin);
  const std::string_view right = w.substr(right_begin, right_end - right_begin);
  const std::string_view span = w.substr(left_begin, right_end - left_begin);

  if (!HasDigit(left) || !HasDigit(right)) {
    Trace("Oper>    syntax error in string ", span, " : non-numeral values");
    return std::string(kErrorText);
  }
  const Extended y = ParseNumber(right);
  const Extended x = ParseNumber(left);
  const std::string formatted = FormatNumber(RoundToDouble(Apply(op[0], x, y)));
  const std::string_view value = TrimBlanks(formatted);
  Trace("Oper>    solved ", span, " = ", value);

  std::string result;
  result.reserve(w.size() - span.size() + value.size());
  result.append(w.substr(0, left_begin)).append(value).append(w.substr(right_end));
  Trace("Oper>    treated one ", op, " operand - result is ", result);
  return result;
}

}  // namespace LUMOCALC_STEPS_BUILD
}  // namespace steps
