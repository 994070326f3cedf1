// Solv runs three passes over the expression, one per precedence level:
//   power   " ^ "
//   product " * " and " / ", whichever comes first
//   sum     " + " and " - ", whichever comes first
// Each reduction replaces «left op right» by the value's text, so the next
// occurrence of the level always lies to the right of the value just written:
// one left-to-right sweep per level performs the reductions in exactly the
// order of repeated leftmost searches, in time linear in the expression.
// A "+" or "-" inside «1E+20» has no blanks around it and is never taken for
// an operator; a "-" glued to a number is its sign. An expression of the
// common shape, an operator chain, is solved in one pass instead.
#include "eval/fast/solv.h"

#include <algorithm>
#include <iterator>

#include "eval/fast/levels.h"
#include "eval/fast/operator_chain.h"
#include "eval/fast/reduce_operands.h"
#include "eval/number_text.h"
#include "eval/rules.h"
#include "eval/text.h"

namespace fast {

namespace {

constexpr CharSet kNoEndSet(kNoEnd);
constexpr CharSet kNoStartSet(kNoStart);
constexpr CharSet kNumberCharacterSet(kNumberCharacters);

// The expression is a run of operands and operators separated by single
// blanks (an empty piece between two blanks is an empty operand). An operator
// of the level counts only with a blank on both sides.
//
// Reduces every operator of one level, left to right, writing the outcome to
// `out`: text between reductions is copied as it stands, in one piece.
// Returns false when a reduction was refused.
bool SweepLevel(std::string_view in, Level level, std::string& out) {
  out.clear();
  std::size_t copied = 0;      // `in` up to here is in `out`
  bool value_last = false;     // `out` ends with a value written by this sweep
  std::size_t value_from = 0;  // where that value begins in `out`
  NumberText::ReadBack value_read_back;
  for (std::size_t at = 1; at + 1 < in.size(); ++at) {
    const char c = in[at];
    if ((c != level.first && (level.second == 0 || c != level.second)) || in[at - 1] != ' ' ||
        in[at + 1] != ' ') {
      continue;
    }
    // The left operand: the value just written when it stands right before
    // this operator, else the text back to the previous blank.
    const bool left_is_value = value_last && at - 1 == copied;
    std::string_view left;
    std::size_t left_from = at - 1;
    if (left_is_value) {
      left = std::string_view(out).substr(value_from);
    } else {
      while (left_from > copied && in[left_from - 1] != ' ') --left_from;
      left = in.substr(left_from, at - 1 - left_from);
    }
    std::size_t right_end = at + 2;
    while (right_end < in.size() && in[right_end] != ' ') ++right_end;
    const std::string_view right = in.substr(at + 2, right_end - at - 2);
    NumberText buffer;
    const Extended known_left = left_is_value ? value_read_back.Value() : 0;
    const std::optional<std::string_view> value =
        ReduceOperands(left, c, right, buffer, left_is_value ? &known_left : nullptr);
    if (!value) return false;
    if (left_is_value) {
      out.resize(value_from);
    } else {
      out.append(in.substr(copied, left_from - copied));
      value_from = out.size();
    }
    out.append(*value);
    value_last = true;
    value_read_back = buffer.read_back;
    copied = right_end;
    at = right_end;  // the loop steps onto the character after the blank
  }
  out.append(in.substr(copied));
  return true;
}

bool OnlyNumberCharacters(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return kNumberCharacterSet.Has(c); });
}

}  // namespace

std::optional<std::string> Solv(std::string_view expression) {
  std::string_view w = TrimBlanks(expression);
  if (w.empty()) return "0";
  if (kNoEndSet.Has(w.back()) || kNoStartSet.Has(w.front())) return std::nullopt;
  // The chain's answer goes out as it comes, without a move on the way: one
  // per parenthesised group shows in the time of a line.
  OperatorChain chain;
  if (chain.Read(w)) return chain.Solve();
  // Which levels have an operator character at all, in one look at the
  // expression: a level with none has nothing to reduce.
  unsigned levels = 0;
  for (const char c : w) levels |= kLevelOf.mask[static_cast<unsigned char>(c)];
  std::string swept[2];
  int next = 0;
  for (unsigned index = 0; index < std::size(kLevels); ++index) {
    if ((levels & (1U << index)) == 0) continue;
    if (!SweepLevel(w, kLevels[index], swept[next])) return std::nullopt;
    w = swept[next];
    next = 1 - next;
  }
  if (!OnlyNumberCharacters(w)) return std::nullopt;
  return std::string(w);
}

}  // namespace fast
