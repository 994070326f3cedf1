// Solv runs three passes over the expression, one per precedence level:
//   power   " ^ "
//   product " * " and " / ", whichever comes first
//   sum     " + " and " - ", whichever comes first
// Each reduction is Oper's. A "+" or "-" inside «1E+20» has no blanks around
// it and is never taken for an operator; a "-" glued to a number is its sign.
#include "diag/debug_log.h"
#include "eval/steps/steps.h"
#include "eval/text.h"

namespace steps {

namespace {

struct Pass {
  std::string_view first;   // operator text, e.g. "*"
  std::string_view second;  // its partner of the same level, or empty
};
constexpr Pass kPasses[] = {{"^", ""}, {"*", "/"}, {"+", "-"}};

constexpr std::string_view kNoEnd = "*+-/^(";
constexpr std::string_view kNoStart = "*+/^(";  // "-" may begin: it is a sign
constexpr std::string_view kNumberCharacters = "0123456789.E+-";

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
  for (const Pass& pass : kPasses) {
    for (;;) {
      const std::size_t first = PositionOf(w, pass.first);
      const std::size_t second = PositionOf(w, pass.second);
      if (first == w.size() && second == w.size()) break;
      w = Oper(w, first < second ? pass.first : pass.second);
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

}  // namespace steps
