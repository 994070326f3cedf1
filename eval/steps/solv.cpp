// Solv runs three passes over the expression, one per precedence level:
//   power   " ^ "
//   product " * " and " / ", whichever comes first
//   sum     " + " and " - ", whichever comes first
// Each reduction is Oper's. A "+" or "-" inside «1E+20» has no blanks around
// it and is never taken for an operator; a "-" glued to a number is its sign.
#include "eval/steps/solv.h"

#include "diag/debug_log.h"
#include "eval/rules.h"
#include "eval/steps/oper.h"
#include "eval/text.h"

namespace steps {
inline namespace LUMOCALC_STEPS_BUILD {

namespace {

// An operator character of kLevels as a text; its missing partner, 0, as the
// empty text.
std::string_view OperatorText(const char& op) {
  return op == 0 ? std::string_view() : std::string_view(&op, 1);
}

std::size_t PositionOf(std::string_view text, std::string_view op) {
  if (op.empty()) return text.size();
  const std::string pattern = std::string(" ").append(op).append(" ");
  const std::size_t at = text.find(pattern);
  // An operator that does not occur counts as standing beyond any real one.
  return at == std::string_view::npos ? text.size() : at;
}

}  // namespace

std::string Solv(std::string_view expression) {
  std::string w(TrimBlanks(expression));
  Trace("Solv>  trying to solve ", w);
  if (w.empty()) {
    Trace("Solv>  empty line");
    return "0";
  }
  if (IsOneOf(w.back(), kNoEnd) || IsOneOf(w.front(), kNoStart)) {
    Trace("Solv>  syntax error - single operand at beginning or end of line");
    return std::string(kErrorText);
  }
  for (const Level& level : kLevels) {
    const std::string_view first_op = OperatorText(level.first);
    const std::string_view second_op = OperatorText(level.second);
    for (;;) {
      const std::size_t first = PositionOf(w, first_op);
      const std::size_t second = PositionOf(w, second_op);
      if (first == w.size() && second == w.size()) break;
      w = Oper(w, first < second ? first_op : second_op);
      if (ContainsError(w)) {
        Trace("Solv>  syntax error");
        return std::string(kErrorText);
      }
    }
  }
  if (w.find_first_not_of(kNumberCharacters) != std::string::npos) {
    Trace("Solv>  syntax error - non supported characters in string");
    return std::string(kErrorText);
  }
  Trace("Solv>  final result is ", w);
  return w;
}

}  // namespace LUMOCALC_STEPS_BUILD
}  // namespace steps
