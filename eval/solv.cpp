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
#include <cmath>
#include <cstdint>
#include <iterator>

#include "eval/arithmetic.h"
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
    const std::string_view value =
        ReduceOperands(left, c, right, buffer, left_is_value ? &known_left : nullptr);
    if (ContainsError(value)) return false;
    if (left_is_value) {
      out.resize(value_from);
    } else {
      out.append(in.substr(copied, left_from - copied));
      value_from = out.size();
    }
    out.append(value);
    value_last = true;
    value_read_back = buffer.read_back;
    copied = right_end;
    at = right_end;  // the loop steps onto the character after the blank
  }
  out.append(in.substr(copied));
  return true;
}

// The common shape, operand, operator, operand, ... operand, with every
// operator a lone "^", "*", "/", "+" or "-" and no operand one of them or
// empty. There the three sweeps come to ordinary precedence evaluation: each
// reduction meets the same two operand texts whichever order the independent
// reductions are done in, so one pass with a stack of pending operators gives
// every answer the sweeps give. (Which refusal comes first can differ, but a
// refusal is "Erreur de syntaxe" whichever it is.) The stack holds at most one
// operator per level, so it never grows beyond three.
//
// Returns false, having done nothing, when the expression has another shape.
bool SolveInOnePass(std::string_view w, std::string& result) {
  // An operand is a piece of w, or what a reduction produced. A whole number
  // below 10^15 is its own text and reads back as itself, so its text is
  // written only if it is the answer: in a long sum no other text is needed.
  // Other values are written at once (into `written`, where at most four are
  // alive) together with what the text reads back as.
  struct Operand {
    std::string_view text;  // a piece of w, or a text in `written`; unset while `whole`
    int slot = -1;          // which entry of `written` holds the text, or -1
    bool produced = false;  // by a reduction: its value is known, and it holds a digit
    bool whole = false;     // produced, a whole number, its text not written
    double whole_value = 0;
    NumberText::ReadBack read_back;  // produced and not whole: what the text reads as
  };
  NumberText written[5];
  unsigned in_use = 0;  // a bit for each entry of `written`
  Operand operand[4];
  char op[3];
  int depth = 0;  // pending operators; operand[depth] is the latest operand

  auto precedence = [](char c) { return c == '^' ? 3 : (c == '*' || c == '/') ? 2 : 1; };
  auto value_of = [](const Operand& operand_read) -> Extended {
    if (operand_read.whole) return operand_read.whole_value;
    if (operand_read.produced) return operand_read.read_back.Value();
    return ParseNumber(operand_read.text);
  };
  auto free_slot = [&]() {
    int slot = 0;
    while ((in_use & (1U << slot)) != 0) ++slot;
    written[slot].Clear();
    return slot;
  };
  auto release = [&](const Operand& operand_done) {
    if (operand_done.slot >= 0) in_use &= ~(1U << operand_done.slot);
  };
  // Reduces the latest operator with its two operands; false when refused.
  auto reduce = [&]() {
    Operand& left = operand[depth - 1];
    const Operand& right = operand[depth];
    if ((!left.produced && !HasDigit(left.text)) || (!right.produced && !HasDigit(right.text))) {
      return false;
    }
    const Extended y = value_of(right);
    const Extended x = value_of(left);
    const double value = RoundToDouble(Apply(op[depth - 1], x, y));
    release(left);
    release(right);
    // The left operand's place takes the result.
    left.produced = true;
    if (std::fabs(value) < 1e15 && static_cast<double>(static_cast<std::int64_t>(value)) == value) {
      left.whole = true;
      left.slot = -1;
      left.whole_value = value == 0 ? 0 : value;  // «0» reads back without a sign
    } else {
      left.whole = false;
      left.slot = free_slot();
      NumberText& text = written[left.slot];
      FormatNumberInto(value, text);
      left.text = text.View().substr(text.View().front() == ' ' ? 1 : 0);
      left.read_back = text.read_back;
      in_use |= 1U << left.slot;
    }
    --depth;
    return true;
  };
  auto is_operator = [](std::string_view piece) {
    return piece.size() == 1 && kLevelOf.mask[static_cast<unsigned char>(piece[0])] != 0;
  };

  // First, only check the shape: nothing is reduced unless all of it fits.
  // The pieces of a line of ordinary length are remembered on the way.
  constexpr std::size_t kRemembered = 64;
  struct Piece {  // left uninitialised until written: no cost for unused entries
    std::size_t from;
    std::size_t size;
  };
  Piece remembered[kRemembered];
  std::size_t pieces = 0;
  bool expect_operand = true;
  for (std::size_t from = 0, at = 0; from <= w.size(); from = at + 1) {
    for (at = from; at < w.size() && w[at] != ' ';) ++at;
    const std::string_view piece = w.substr(from, at - from);
    if (piece.empty() || is_operator(piece) == expect_operand) return false;
    expect_operand = !expect_operand;
    if (pieces < kRemembered) remembered[pieces] = Piece{from, at - from};
    ++pieces;
  }
  if (expect_operand) return false;  // ended with an operator

  // Takes one piece: an operand waits, an operator first reduces what it
  // doesn't bind tighter than. False when a reduction was refused.
  auto take = [&](std::string_view piece) {
    if (!is_operator(piece)) {
      Operand& taken = operand[depth];
      taken.text = piece;
      taken.slot = -1;
      taken.produced = false;
      taken.whole = false;
      return true;
    }
    while (depth > 0 && precedence(op[depth - 1]) >= precedence(piece[0])) {
      if (!reduce()) return false;
    }
    op[depth++] = piece[0];
    return true;
  };
  bool refused = false;
  if (pieces <= kRemembered) {
    for (std::size_t i = 0; i < pieces && !refused; ++i) {
      refused = !take(w.substr(remembered[i].from, remembered[i].size));
    }
  } else {
    for (std::size_t from = 0, at = 0; from <= w.size() && !refused; from = at + 1) {
      for (at = from; at < w.size() && w[at] != ' ';) ++at;
      refused = !take(w.substr(from, at - from));
    }
  }
  if (refused) {
    result.assign(kErrorText);
    return true;
  }
  while (depth > 0) {
    if (!reduce()) {
      result.assign(kErrorText);
      return true;
    }
  }
  if (operand[0].whole) {
    NumberText text;
    FormatNumberInto(operand[0].whole_value, text);
    operand[0].text = text.View().substr(text.View().front() == ' ' ? 1 : 0);
    result.assign(operand[0].text);
    return true;
  }
  result.assign(operand[0].text);
  return true;
}

bool OnlyNumberCharacters(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return kNumberCharacters.Has(c); });
}

}  // namespace

std::string Solv(std::string_view expression) {
  std::string_view w = TrimBlanks(expression);
  if (w.empty()) return "0";
  if (kNoEnd.Has(w.back()) || kNoStart.Has(w.front())) return std::string(kErrorText);
  std::string solved;
  if (SolveInOnePass(w, solved)) {
    if (ContainsError(solved) || OnlyNumberCharacters(solved)) return solved;
    return std::string(kErrorText);
  }
  // Which levels have an operator character at all, in one look at the
  // expression: a level with none has nothing to reduce.
  unsigned levels = 0;
  for (const char c : w) levels |= kLevelOf.mask[static_cast<unsigned char>(c)];
  std::string swept[2];
  int next = 0;
  for (unsigned index = 0; index < std::size(kLevels); ++index) {
    if ((levels & (1U << index)) == 0) continue;
    if (!SweepLevel(w, kLevels[index], swept[next])) return std::string(kErrorText);
    w = swept[next];
    next = 1 - next;
  }
  if (!OnlyNumberCharacters(w)) return std::string(kErrorText);
  return std::string(w);
}
