// Eval, on « -2,5*(3+-1)(4*»:
//   blanks removed          -2,5*(3+-1)(4*
//   decimal commas          -2.5*(3+-1)(4*
//   parentheses balanced    -2.5*(3+-1)(4*)
//   adjacent groups         -2.5*(3+-1)*(4*)
//   dangling operators      -2.5*(3+-1)*(4)
//   spaced                  - 2.5 * ( 3 + - 1 ) * ( 4 )
//   signs glued and folded  -2.5 * ( 3 - 1 ) * ( 4 )
//   groups, innermost first -2.5 * 2 * ( 4 )  then  -2.5 * 2 * 4, solved last.
// Every rewrite is one replace-all over the whole line, in a fixed order, so
// runs of three signs or doubled operators are folded only as far as one pass
// of each rule reaches; that is how the calculator reads such lines.
#include "eval/steps/eval.h"

#include <optional>
#include <vector>

#include "diag/debug_log.h"
#include "eval/rules.h"
#include "eval/steps/solv.h"
#include "eval/text.h"

namespace steps {
inline namespace LUMOCALC_STEPS_BUILD {

namespace {

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// The refusals, checked on the line without its blanks. Returns the result
// when one of them ends the evaluation, nothing otherwise.
std::optional<std::string> Refusal(std::string_view line) {
  if (line.empty()) {
    Trace("Eval>  empty line");
    return "0";
  }
  if (Contains(line, "=")) {
    Trace("Eval>  user wrote '=' symbol (probably a line pasted from history)");
    return std::string(kErrorText);
  }
  if (IsOneOf(line.front(), kNoFirst)) {
    Trace("Eval>  user started line with operand * / ^");
    return std::string(kErrorText);
  }
  if (CountOf(line, kOperators) > 1 && CountOf(line, kDigits) == 0) {
    Trace("Eval>  user typed several operands but without any number");
    return std::string(kErrorText);
  }
  if (line == "+" || line == "-") {
    Trace("Eval>  returning 0");
    return "0";
  }
  return std::nullopt;
}

// Closes what was left open at the end, opens what was left closed at the front.
std::string Balanced(std::string line) {
  const std::size_t opened = CountOf(line, "(");
  const std::size_t closed = CountOf(line, ")");
  if (opened > closed) line.append(opened - closed, ')');
  if (closed > opened) line.insert(0, closed - opened, '(');
  return line;
}

// Whether the sign at i of the unspaced line belongs to a typed exponent, as
// in «1E-5»: it follows "E", "e", "D" or "d", comes before a digit, and the
// marker ends a decimal mantissa (digits, at most one point, at least one
// digit) that begins the operand, at the start of the line or after an
// operator or a parenthesis that is no exponent sign itself.
bool IsExponentSign(std::string_view line, std::size_t i, const std::vector<bool>& exponent) {
  if (!IsOneOf(line[i], "+-") || i < 2 || !IsOneOf(line[i - 1], "EeDd")) return false;
  if (i + 1 >= line.size() || !IsOneOf(line[i + 1], kDigits)) return false;
  std::size_t begin = i - 1;
  while (begin > 0 && IsOneOf(line[begin - 1], ".0123456789")) --begin;
  const std::string_view mantissa = line.substr(begin, i - 1 - begin);
  if (CountOf(mantissa, kDigits) == 0 || CountOf(mantissa, ".") > 1) return false;
  return begin == 0 || (IsOneOf(line[begin - 1], "*+-/^()") && !exponent[begin - 1]);
}

// Every operator and parenthesis between single blanks, no blank at the ends;
// an exponent sign keeps its neighbours.
std::string Spaced(std::string line) {
  std::vector<bool> exponent(line.size());
  std::vector<bool> sign_is_exponent;  // for each sign of the line, in order
  for (std::size_t i = 0; i < line.size(); ++i) {
    exponent[i] = IsExponentSign(line, i, exponent);
    if (IsOneOf(line[i], "+-")) sign_is_exponent.push_back(exponent[i]);
  }
  for (const char& c : kSpaced) {
    const std::string_view character(&c, 1);
    line = ReplaceAll(line, character, std::string(" ").append(character).append(" "));
  }
  while (Contains(line, "  ")) line = ReplaceAll(line, "  ", " ");
  line = std::string(TrimBlanks(line));
  // Spacing adds and removes no sign: the k-th sign of the spaced line is the
  // k-th of the unspaced one. An exponent sign stands between two non-blanks,
  // so it got exactly one blank on each side.
  std::size_t k = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (IsOneOf(line[i], "+-") && sign_is_exponent[k++]) {
      line.erase(i + 1, 1);
      line.erase(i - 1, 1);
      --i;
    }
  }
  return line;
}

std::string SignsFolded(std::string line) {
  if (StartsWith(line, "- ")) line.erase(1, 1);
  for (const Rule& rule : kMinusRules) line = ReplaceAll(line, rule.search, rule.replacement);
  if (StartsWith(line, "+ ")) line.erase(0, 2);
  for (const Rule& rule : kPlusRules) line = ReplaceAll(line, rule.search, rule.replacement);
  return line;
}

}  // namespace

std::string Eval(std::string_view input) {
  // Both blanks go: the space and the no-break space.
  std::string line = ReplaceAll(ReplaceAll(input, " ", ""), "\xA0", "");
  Trace("________________________________________");
  Trace("Eval> user typed ", line);
  if (std::optional<std::string> refused = Refusal(line)) return std::move(*refused);

  line = Balanced(ReplaceAll(line, ",", "."));
  line = ReplaceAll(line, ")(", ")*(");  // two adjacent groups are multiplied
  while (!line.empty() && IsOneOf(line.back(), kStrippedAtEnd)) line.pop_back();
  for (const Rule& rule : kRepairs) line = ReplaceAll(line, rule.search, rule.replacement);
  Trace("Eval> ..which will be treated as ", line);
  line = SignsFolded(Spaced(std::move(line)));

  // Innermost groups first: the first ")" and the nearest "(" before it
  // enclose a group without parentheses. Identical groups are all replaced by
  // the one answer.
  for (;;) {
    Trace("Eval>  treating ", line);
    const std::size_t closing = line.find(')');
    if (closing == std::string::npos) return Solv(line);
    const std::size_t opening = line.rfind('(', closing);
    // A ")" before any "(", as in «2)+(3»: there is no group to reduce, and
    // the line would never change again.
    if (opening == std::string::npos) return std::string(kErrorText);
    const std::string content = line.substr(opening + 1, closing - opening - 1);
    Trace("Eval>  treating sub-string ", content);
    const std::string answer = Solv(content);
    const std::string group = std::string("(").append(content).append(")");
    // A "-" glued to a group negates it: a negative answer cancels it.
    if (StartsWith(answer, "-")) line = ReplaceAll(line, "-" + group, answer.substr(1));
    line = ReplaceAll(line, group, answer);
    if (ContainsError(line)) return std::string(kErrorText);
  }
}

std::optional<std::string> EvalForDisplay(std::string_view line) {
  std::string result = Eval(line);
  if (ContainsError(result)) return std::nullopt;
  return result;
}

}  // namespace LUMOCALC_STEPS_BUILD
}  // namespace steps
