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
#include "eval/fast/eval.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

#include "eval/fast/solv.h"
#include "eval/rules.h"
#include "eval/text.h"

namespace fast {

namespace {

// The rewrite rules are applied in place (ReplaceAllInPlace), which none of
// them may lengthen.
template <std::size_t N>
constexpr bool NeverLonger(const Rule (&rules)[N]) {
  return std::all_of(rules, rules + N, [](const Rule& rule) {
    return rule.replacement.size() <= rule.search.size();
  });
}
static_assert(NeverLonger(kRepairs) && NeverLonger(kMinusRules) && NeverLonger(kPlusRules));

constexpr CharSet kNoFirstSet(kNoFirst);
constexpr CharSet kStrippedAtEndSet(kStrippedAtEnd);
constexpr CharSet kSpacedSet(kSpaced);

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// What one look at the typed line finds: enough for the refusals and the
// balancing, and for skipping the steps that would find nothing to do.
struct Census {
  std::size_t operators = 0;  // characters of "*/^+-"
  std::size_t opened = 0;
  std::size_t closed = 0;
  bool digit = false;
  bool equals = false;
  bool comma = false;
  bool marker = false;  // an exponent marker, "E", "e", "D" or "d"
};

enum Kind : std::uint8_t {
  kOther,
  kBlank,
  kDigit,
  kOperator,
  kOpen,
  kClose,
  kEquals,
  kComma,
  kMarker
};

struct KindTable {
  Kind kind[256] = {};
  constexpr KindTable() {
    kind[static_cast<unsigned char>(' ')] = kBlank;
    kind[static_cast<unsigned char>('\xA0')] = kBlank;  // the no-break space
    for (const char c : kDigits) kind[static_cast<unsigned char>(c)] = kDigit;
    for (const char c : kOperators) kind[static_cast<unsigned char>(c)] = kOperator;
    kind[static_cast<unsigned char>('(')] = kOpen;
    kind[static_cast<unsigned char>(')')] = kClose;
    kind[static_cast<unsigned char>('=')] = kEquals;
    kind[static_cast<unsigned char>(',')] = kComma;
    for (const char c : std::string_view("EeDd")) kind[static_cast<unsigned char>(c)] = kMarker;
  }
};
constexpr KindTable kKinds;

// The line without its blanks, and its census. Counting by kind into a
// small table keeps the loop free of branches.
Census CopyWithoutBlanks(std::string_view input, std::string& line) {
  std::size_t count[kMarker + 1] = {};
  line.resize(input.size());
  std::size_t length = 0;
  for (const char c : input) {
    const Kind kind = kKinds.kind[static_cast<unsigned char>(c)];
    ++count[kind];
    line[length] = c;
    length += kind != kBlank ? 1 : 0;
  }
  line.resize(length);
  Census census;
  census.operators = count[kOperator];
  census.opened = count[kOpen];
  census.closed = count[kClose];
  census.digit = count[kDigit] > 0;
  census.equals = count[kEquals] > 0;
  census.comma = count[kComma] > 0;
  census.marker = count[kMarker] > 0;
  return census;
}

// What the refusal checks make of the line without its blanks.
enum class Check {
  kGoOn,
  kAnswerZero,  // the evaluation ends with "0"
  kRefuse,
};

Check Refusal(std::string_view line, const Census& census) {
  if (line.empty()) return Check::kAnswerZero;
  if (census.equals) return Check::kRefuse;  // probably a line pasted from the history
  if (kNoFirstSet.Has(line.front())) return Check::kRefuse;
  if (census.operators > 1 && !census.digit) return Check::kRefuse;
  if (line == "+" || line == "-") return Check::kAnswerZero;
  return Check::kGoOn;
}

// Closes what was left open at the end, opens what was left closed at the front.
void Balance(std::string& line, const Census& census) {
  if (census.opened > census.closed) line.append(census.opened - census.closed, ')');
  if (census.closed > census.opened) line.insert(0, census.closed - census.opened, '(');
}

// Every operator and parenthesis between single blanks, no blank at either
// end. The line holds no blank before this, so a blank goes between two
// neighbours exactly when one of them is an operator or a parenthesis: what
// spacing each character in turn and then folding the blanks would give.
//
// The sign of a typed exponent is the exception: in «1E-5» or «2*1,5D+3» the
// sign belongs to the number, so it stays without blanks and no sign rule or
// reduction takes it for an operator. It is an exponent sign when it follows
// "E", "e", "D" or "d", comes before a digit, and the marker ends a decimal
// mantissa (digits and at most one point, at least one digit) that begins the
// operand. Radix texts keep the old reading: «&H1E-5» is «&H1E» minus 5.
//
// Which sign rules can find anything: in the spaced line «X - » and «X + »
// (X one of "*/+-^(") stand where the unspaced line has X right before the
// sign, with something after it.
struct SignsAfterOperators {
  bool minus = false;
  bool plus = false;
};

// Reads the unspaced line one character at a time and tells, for each sign,
// whether it is an exponent sign.
class ExponentSigns {
 public:
  bool IsExponentSign(std::string_view line, std::size_t i) {
    const char c = line[i];
    const bool exponent_sign = (c == '+' || c == '-') && after_marker_ && i + 1 < line.size() &&
                               line[i + 1] >= '0' && line[i + 1] <= '9';
    after_marker_ = false;
    if (exponent_sign) {
      mantissa_ = false;  // what follows is the exponent, not a new operand
    } else if (kSpacedSet.Has(c)) {
      mantissa_ = true;  // an operand may begin after an operator or a parenthesis
      digits_ = false;
      points_ = 0;
    } else if (c >= '0' && c <= '9') {
      digits_ = true;
    } else if (c == '.') {
      mantissa_ = mantissa_ && ++points_ < 2;
    } else {
      after_marker_ = mantissa_ && digits_ && (c == 'E' || c == 'e' || c == 'D' || c == 'd');
      mantissa_ = false;
    }
    return exponent_sign;
  }

 private:
  bool mantissa_ = true;  // the operand so far is a decimal mantissa at its start
  bool digits_ = false;
  int points_ = 0;
  bool after_marker_ = false;  // the previous character is a marker that ends one
};

// A line without an exponent marker has no exponent sign to look for.
SignsAfterOperators Space(std::string& line, bool has_marker) {
  static constexpr CharSet kBeforeSign("*/+-^(");
  SignsAfterOperators signs;
  const std::size_t length = line.size();
  if (length < 2) return signs;
  // At most one blank between two characters: 2 x length is room enough. An
  // ordinary line is spaced on the stack, a long one in a buffer of its own.
  constexpr std::size_t kOnStack = 512;
  char stack[2 * kOnStack];
  std::string heap;
  char* spaced = stack;
  if (length > kOnStack) {
    heap.resize(2 * length);
    spaced = heap.data();
  }
  ExponentSigns exponent;
  if (has_marker) exponent.IsExponentSign(line, 0);
  std::size_t written = 0;
  spaced[written++] = line[0];
  bool previous_spaced = kSpacedSet.Has(line[0]);
  for (std::size_t i = 1; i < length; ++i) {
    const char c = line[i];
    const bool exponent_sign = has_marker && exponent.IsExponentSign(line, i);
    const bool spaced_here = kSpacedSet.Has(c) && !exponent_sign;
    if (previous_spaced || spaced_here) spaced[written++] = ' ';
    spaced[written++] = c;
    if (spaced_here && i + 1 < length && kBeforeSign.Has(line[i - 1])) {
      signs.minus |= c == '-';
      signs.plus |= c == '+';
    }
    previous_spaced = spaced_here;
  }
  line.assign(spaced, written);
  return signs;
}

// Whether «X s » occurs for some X of "*/+-^(": what every sign rule for the
// sign s looks for. A line without it is left alone by all of them.
bool HasSignAfterOperator(std::string_view line, char sign) {
  static constexpr CharSet kBefore("*/+-^(");
  for (std::size_t i = 0; i + 3 < line.size(); ++i) {
    if (line[i + 2] == sign && line[i + 1] == ' ' && line[i + 3] == ' ' && kBefore.Has(line[i])) {
      return true;
    }
  }
  return false;
}

void FoldSigns(std::string& line, SignsAfterOperators signs) {
  if (StartsWith(line, "- ")) line.erase(1, 1);
  if (signs.minus) {
    for (const Rule& rule : kMinusRules) ReplaceAllInPlace(line, rule.search, rule.replacement);
    signs.plus = HasSignAfterOperator(line, '+');  // "- - " became "+ "
  }
  if (StartsWith(line, "+ ")) line.erase(0, 2);
  if (signs.plus) {
    for (const Rule& rule : kPlusRules) ReplaceAllInPlace(line, rule.search, rule.replacement);
  }
}

// Whether an operator stands right inside a parenthesis: what the repairs
// look for. A line without it is left alone by all of them.
bool HasOperatorAtParenthesis(std::string_view line) {
  static constexpr CharSet kBeforeClosing("-*/+^");
  static constexpr CharSet kAfterOpening("*/^");
  for (std::size_t i = 0; i + 1 < line.size(); ++i) {
    if ((line[i + 1] == ')' && kBeforeClosing.Has(line[i])) ||
        (line[i] == '(' && kAfterOpening.Has(line[i + 1]))) {
      return true;
    }
  }
  return false;
}

// The next "(" or ")" from `from` on. A plain loop: the library's
// find_first_of searches its set once per character.
std::size_t FindParenthesis(std::string_view line, std::size_t from) {
  for (; from < line.size(); ++from) {
    if (line[from] == '(' || line[from] == ')') return from;
  }
  return std::string_view::npos;
}

// The groups, innermost first. The first ")" and the nearest "(" before it
// enclose a group without parentheses; its content goes to Solv and the group
// is replaced by the answer, exactly as typed text would be. One sweep does
// this with a stack of the open "(": at each ")" everything before it is
// already reduced. (Identical groups elsewhere in the line get the same
// answer when their turn comes: Solv is a function of its text.) A ")" with
// no "(" before it leaves no group to reduce, and such a line would never
// change again: it is refused.
std::optional<std::string> ReduceGroups(std::string line, bool has_parenthesis) {
  if (!has_parenthesis) return Solv(line);
  std::string reduced;
  reduced.reserve(line.size());
  std::vector<std::size_t> open;
  std::size_t at = 0;
  for (;;) {
    const std::size_t paren = FindParenthesis(line, at);
    if (paren == std::string::npos) break;
    reduced.append(line, at, paren - at);
    at = paren + 1;
    if (line[paren] == '(') {
      open.push_back(reduced.size());
      reduced.push_back('(');
      continue;
    }
    if (open.empty()) return std::nullopt;
    const std::size_t opening = open.back();
    open.pop_back();
    const std::optional<std::string> answer = Solv(std::string_view(reduced).substr(opening + 1));
    if (!answer) return std::nullopt;
    // A "-" glued to the group negates it: with a negative answer the two
    // signs cancel, or «-( 2 - 5 )» would read «--3», which is worth 0.
    if (answer->front() == '-' && opening > 0 && reduced[opening - 1] == '-') {
      reduced.replace(opening - 1, std::string::npos, *answer, 1);
    } else {
      reduced.replace(opening, std::string::npos, *answer);
    }
  }
  reduced.append(line, at);
  return Solv(reduced);
}

}  // namespace

std::optional<std::string> Eval(std::string_view input) {
  std::string line;
  line.reserve(2 * input.size() + 2);  // room for the blanks of the spaced form
  const Census census = CopyWithoutBlanks(input, line);
  switch (Refusal(line, census)) {
    case Check::kAnswerZero:
      return "0";
    case Check::kRefuse:
      return std::nullopt;
    case Check::kGoOn:
      break;
  }

  if (census.comma) std::replace(line.begin(), line.end(), ',', '.');  // a decimal comma is a point
  Balance(line, census);
  if (census.opened > 0 && census.closed > 0 && line.find(")(") != std::string::npos) {
    line = ReplaceAll(line, ")(", ")*(");  // two adjacent groups are multiplied
  }
  while (!line.empty() && kStrippedAtEndSet.Has(line.back())) line.pop_back();
  if ((census.opened > 0 || census.closed > 0) && HasOperatorAtParenthesis(line)) {
    for (const Rule& rule : kRepairs) ReplaceAllInPlace(line, rule.search, rule.replacement);
  }
  FoldSigns(line, Space(line, census.marker));
  // Only the balancing adds parentheses, and only to a line that has some.
  return ReduceGroups(std::move(line), census.opened > 0 || census.closed > 0);
}

}  // namespace fast
