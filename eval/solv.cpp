// Solv runs three passes over the expression, one per precedence level:
//   power   " ^ "
//   product " * " and " / ", whichever comes first
//   sum     " + " and " - ", whichever comes first
// Each reduction replaces «left op right» by the value's text, so the next
// occurrence of the level always lies to the right of the value just written:
// one left-to-right sweep per level performs the reductions in exactly the
// order of repeated leftmost searches, in time linear in the expression.
// A "+" or "-" inside «1E+20» has no blanks around it and is never taken for
// an operator; a "-" glued to a number is its sign.
#include "eval/solv.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "diag/debug_log.h"
#include "eval/number_text.h"
#include "eval/oper.h"
#include "eval/text.h"

namespace {

struct Level {
  char first;   // operator character, e.g. '*'
  char second;  // its partner of the same level, or 0
};
constexpr Level kLevels[] = {{'^', 0}, {'*', '/'}, {'+', '-'}};

// For each character, the levels (bits, in the order above) it is an operator of.
struct LevelTable {
  std::uint8_t mask[256] = {};
  constexpr LevelTable() {
    for (unsigned index = 0; index < std::size(kLevels); ++index) {
      mask[static_cast<unsigned char>(kLevels[index].first)] |= 1U << index;
      if (kLevels[index].second != 0) {
        mask[static_cast<unsigned char>(kLevels[index].second)] |= 1U << index;
      }
    }
  }
};
constexpr LevelTable kLevelOf;

constexpr CharSet kNoEnd("*+-/^(");
constexpr CharSet kNoStart("*+/^(");  // "-" may begin: it is a sign
constexpr CharSet kNumberCharacters("0123456789.E+-");

// The expression is a run of operands and operators separated by single
// blanks (an empty piece between two blanks is an empty operand). An operator
// of the level counts only with a blank on both sides: not first, not last.
//
// Pieces are short: a plain loop beats a library search call for them.
std::size_t PieceEnd(std::string_view text, std::size_t from) {
  while (from < text.size() && text[from] != ' ') ++from;
  return from;
}

// Reduces every operator of one level, left to right, writing the outcome to
// `out`. Returns false when a reduction was refused.
bool SweepLevel(std::string_view in, Level level, std::string& out) {
  out.clear();
  std::size_t last_piece = 0;  // where the last piece written to `out` begins
  // The last piece's value, when a reduction of this sweep has just written it.
  NumberText::ReadBack last_value;
  bool last_value_known = false;
  std::size_t at = 0;
  while (at <= in.size()) {
    const std::size_t end = PieceEnd(in, at);
    const std::string_view piece(in.data() + at, end - at);
    const bool is_operator = piece.size() == 1 && (piece[0] == level.first ||
                                                   (level.second != 0 && piece[0] == level.second));
    if (is_operator && at > 0 && end < in.size()) {
      const std::size_t right_end = PieceEnd(in, end + 1);
      const std::string_view right(in.data() + end + 1, right_end - end - 1);
      if constexpr (kDebugLogEnabled) {
        Trace("Oper>    treating first ", piece, " operand in ", out, " ", in.substr(at));
      }
      const std::string_view left = std::string_view(out).substr(last_piece);
      NumberText buffer;
      const long double known_left = last_value_known ? last_value.Value() : 0;
      const std::string_view value =
          ReduceOperands(left, piece, right, buffer, last_value_known ? &known_left : nullptr);
      if (ContainsError(value)) return false;
      last_value = buffer.read_back;
      last_value_known = true;
      out.replace(last_piece, std::string::npos, value);
      if constexpr (kDebugLogEnabled) {
        const std::string_view rest = right_end < in.size() ? in.substr(right_end) : "";
        Trace("Oper>    treated one ", piece, " operand - result is ", out, rest);
      }
      at = right_end + 1;
      continue;
    }
    if (at > 0) out.push_back(' ');
    last_piece = out.size();
    last_value_known = false;
    out.append(piece);
    at = end + 1;
  }
  return true;
}

}  // namespace

std::string Solv(std::string_view expression) {
  std::string_view w = TrimBlanks(expression);
  Trace("Solv>  trying to solve ", w);
  if (w.empty()) {
    Trace("Solv>  empty line");
    return "0";
  }
  if (kNoEnd.Has(w.back()) || kNoStart.Has(w.front())) {
    Trace("Solv>  syntax error - single operand at beginning or end of line");
    return std::string(kErrorText);
  }
  // Which levels have an operator character at all, in one look at the
  // expression: a level with none has nothing to reduce.
  unsigned levels = 0;
  for (const char c : w) levels |= kLevelOf.mask[static_cast<unsigned char>(c)];
  std::string swept[2];
  int next = 0;
  for (unsigned index = 0; index < std::size(kLevels); ++index) {
    const Level level = kLevels[index];
    if ((levels & (1U << index)) == 0) continue;
    if (!SweepLevel(w, level, swept[next])) {
      Trace("Solv>  syntax error");
      return std::string(kErrorText);
    }
    w = swept[next];
    next = 1 - next;
  }
  if (!std::all_of(w.begin(), w.end(), [](char c) { return kNumberCharacters.Has(c); })) {
    Trace("Solv>  syntax error - non supported characters in string");
    return std::string(kErrorText);
  }
  Trace("Solv>  final result is ", w);
  return std::string(w);
}
