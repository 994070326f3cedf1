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
#include "eval/eval.h"

#include <algorithm>
#include <vector>

#include "diag/debug_log.h"
#include "eval/solv.h"
#include "eval/text.h"

namespace {

constexpr CharSet kNoFirst("*/^");
constexpr CharSet kOperators("*/^+-");
constexpr CharSet kDigits("0123456789");
constexpr CharSet kStrippedAtEnd("*+-/^(");
constexpr CharSet kSpaced("*+-/^()");

struct Rule {
  std::string_view search;
  std::string_view replacement;
};

// An operator left dangling next to a parenthesis is dropped: «(5*)» is «(5)».
constexpr Rule kRepairs[] = {{"-)", ")"}, {"*)", ")"}, {"/)", ")"}, {"+)", ")"},
                             {"^)", ")"}, {"(*", "("}, {"(/", "("}, {"(^", "("}};

// A minus after an operator or "(" is glued to its number; sign pairs fold.
constexpr Rule kMinusRules[] = {{"* - ", "* -"}, {"/ - ", "/ -"}, {"+ - ", "- "},
                                {"- - ", "+ "},  {"^ - ", "^ -"}, {"( - ", "( -"}};
// A plus after an operator or "(" is dropped.
constexpr Rule kPlusRules[] = {{"* + ", "* "}, {"/ + ", "/ "}, {"+ + ", "+ "},
                               {"- + ", "- "}, {"^ + ", "^ "}, {"( + ", "( "}};

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// The refusals, checked on the line without its blanks. Returns the result
// when one of them ends the evaluation, nothing otherwise.
const char* Refusal(std::string_view line) {
  if (line.empty()) {
    Trace("Eval>  empty line");
    return "0";
  }
  if (Contains(line, "=")) {
    Trace("Eval>  user wrote '=' symbol (probably a line pasted from history)");
    return kErrorText.data();
  }
  if (kNoFirst.Has(line.front())) {
    Trace("Eval>  user started line with operand * / ^");
    return kErrorText.data();
  }
  if (CountOf(line, kOperators) > 1 && CountOf(line, kDigits) == 0) {
    Trace("Eval>  user typed several operands but without any number");
    return kErrorText.data();
  }
  if (line == "+" || line == "-") {
    Trace("Eval>  returning 0");
    return "0";
  }
  return nullptr;
}

// Closes what was left open at the end, opens what was left closed at the front.
void Balance(std::string& line) {
  const std::size_t opened = static_cast<std::size_t>(std::count(line.begin(), line.end(), '('));
  const std::size_t closed = static_cast<std::size_t>(std::count(line.begin(), line.end(), ')'));
  if (opened > closed) line.append(opened - closed, ')');
  if (closed > opened) line.insert(0, closed - opened, '(');
}

// Every operator and parenthesis between single blanks, no blank at either
// end. The line holds no blank before this, so one sweep does what spacing
// each character in turn and then folding the blanks would.
std::string Spaced(std::string_view line) {
  std::string spaced;
  spaced.reserve(line.size() * 2);
  bool blank_due = false;
  for (const char c : line) {
    if (kSpaced.Has(c)) {
      if (!spaced.empty()) spaced.push_back(' ');
      spaced.push_back(c);
      blank_due = true;
    } else {
      if (blank_due) spaced.push_back(' ');
      spaced.push_back(c);
      blank_due = false;
    }
  }
  return spaced;
}

// Whether «X s » occurs for some X of "*/+-^(": what every sign rule for the
// sign s looks for. A line without it is left alone by all of them.
bool HasSignAfterOperator(std::string_view line, char sign) {
  constexpr CharSet kBefore("*/+-^(");
  for (std::size_t i = 0; i + 3 < line.size(); ++i) {
    if (line[i + 2] == sign && line[i + 1] == ' ' && line[i + 3] == ' ' && kBefore.Has(line[i])) {
      return true;
    }
  }
  return false;
}

void FoldSigns(std::string& line) {
  if (StartsWith(line, "- ")) line.erase(1, 1);
  if (HasSignAfterOperator(line, '-')) {
    for (const Rule& rule : kMinusRules) ReplaceAllInPlace(line, rule.search, rule.replacement);
  }
  if (StartsWith(line, "+ ")) line.erase(0, 2);
  if (HasSignAfterOperator(line, '+')) {
    for (const Rule& rule : kPlusRules) ReplaceAllInPlace(line, rule.search, rule.replacement);
  }
}

// Whether an operator stands right inside a parenthesis: what the repairs
// look for. A line without it is left alone by all of them.
bool HasOperatorAtParenthesis(std::string_view line) {
  constexpr CharSet kBeforeClosing("-*/+^");
  constexpr CharSet kAfterOpening("*/^");
  for (std::size_t i = 0; i + 1 < line.size(); ++i) {
    if ((line[i + 1] == ')' && kBeforeClosing.Has(line[i])) ||
        (line[i] == '(' && kAfterOpening.Has(line[i + 1]))) {
      return true;
    }
  }
  return false;
}

// The groups, innermost first. The first ")" and the nearest "(" before it
// enclose a group without parentheses; its content goes to Solv and the whole
// group is replaced by the answer, exactly as typed text would be. One sweep
// does this with a stack of the open "(": at each ")" everything before it is
// already reduced. A ")" with no "(" before it leaves no group to reduce, and
// such a line would never change again: it is refused.
//
// Identical groups are replaced together, which changes no answer (Solv is a
// function of its text) but shows in the trace: there, the rest of the line
// gets the same replacement, so the trace follows the line step by step.
std::string ReduceGroups(std::string line) {
  std::string reduced;
  reduced.reserve(line.size());
  std::vector<std::size_t> open;
  std::size_t at = 0;
  for (;;) {
    const std::size_t paren = line.find_first_of("()", at);
    if (paren == std::string::npos) break;
    reduced.append(line, at, paren - at);
    at = paren + 1;
    if (line[paren] == '(') {
      open.push_back(reduced.size());
      reduced.push_back('(');
      continue;
    }
    if constexpr (kDebugLogEnabled) {
      Trace("Eval>  treating ", reduced, std::string_view(line).substr(paren));
    }
    if (open.empty()) return std::string(kErrorText);
    const std::size_t opening = open.back();
    open.pop_back();
    const std::string content = reduced.substr(opening + 1);
    Trace("Eval>  treating sub-string ", content);
    const std::string answer = Solv(content);
    if (ContainsError(answer)) return std::string(kErrorText);
    if constexpr (kDebugLogEnabled) {
      line = line.substr(0, at) +
             ReplaceAll(std::string_view(line).substr(at), "(" + content + ")", answer);
    }
    reduced.replace(opening, std::string::npos, answer);
  }
  reduced.append(line, at);
  Trace("Eval>  treating ", reduced);
  return Solv(reduced);
}

}  // namespace

std::string Eval(std::string_view input) {
  std::string line(input);
  line.erase(std::remove(line.begin(), line.end(), ' '), line.end());
  Trace("________________________________________");
  Trace("Eval> user typed ", line);
  if (const char* refused = Refusal(line)) return refused;

  std::replace(line.begin(), line.end(), ',', '.');  // a decimal comma is a point
  Balance(line);
  if (line.find(")(") != std::string::npos) {
    line = ReplaceAll(line, ")(", ")*(");  // two adjacent groups are multiplied
  }
  while (!line.empty() && kStrippedAtEnd.Has(line.back())) line.pop_back();
  if (HasOperatorAtParenthesis(line)) {
    for (const Rule& rule : kRepairs) ReplaceAllInPlace(line, rule.search, rule.replacement);
  }
  Trace("Eval> ..which will be treated as ", line);
  line = Spaced(line);
  FoldSigns(line);
  return ReduceGroups(std::move(line));
}
