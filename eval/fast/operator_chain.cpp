#include "eval/fast/operator_chain.h"

#include <cassert>
#include <cmath>
#include <cstdint>

#include "eval/arithmetic.h"
#include "eval/fast/levels.h"
#include "eval/number_text.h"
#include "eval/rules.h"
#include "eval/text.h"

namespace fast {

namespace {

constexpr CharSet kNumberCharacterSet(kNumberCharacters);

bool IsOperator(std::string_view piece) {
  return piece.size() == 1 && IsOperatorCharacter(piece[0]);
}

// Where the piece of w that begins at `from` ends: the pieces are the runs of
// non-blanks between single blanks, and the next one begins after the blank.
std::size_t PieceEnd(std::string_view w, std::size_t from) {
  std::size_t at = from;
  while (at < w.size() && w[at] != ' ') ++at;
  return at;
}

// Ordinary precedence evaluation with a stack of pending operators: an
// operand waits; an operator first reduces the pending ones that bind at
// least as tightly. The stack holds at most one operator per level, so it
// never grows beyond three. Its functions are inline, each called from one
// place: a typical line takes a few of them per piece, and as calls they
// would cost more than their work.
class ChainSolver {
 public:
  // Takes the next piece, or with an empty one (no piece of a chain is
  // empty) the end of the chain, which every pending operator is reduced
  // before; false when a reduction was refused.
  bool Take(std::string_view piece);
  // After the end: the value's text, or nothing when it is not a number text.
  std::optional<std::string> Answer() const;

 private:
  // An operand is a piece of the expression, or what a reduction produced. A
  // whole number below 10^15 is its own text and reads back as itself, so its
  // text is written only if it is the answer: in a long sum no other text is
  // needed. Other values are written at once (into `written_`, where at most
  // four are alive) together with what the text reads back as.
  struct Operand {
    std::string_view text;  // a piece, or a text in `written_`; unset while `whole`
    int slot = -1;          // which entry of `written_` holds the text, or -1
    bool produced = false;  // by a reduction: its value is known, and it holds a digit
    bool whole = false;     // produced, a whole number, its text not written
    double whole_value = 0;
    NumberText::ReadBack read_back;  // produced and not whole: what the text reads as
  };
  static constexpr int kLevelCount = static_cast<int>(std::size(kLevels));

  static Extended ValueOf(const Operand& operand);
  int FreeSlot();
  void Release(const Operand& operand);
  bool Reduce();  // the latest operator with its two operands; false when refused

  NumberText written_[kLevelCount + 2];
  unsigned in_use_ = 0;  // a bit for each entry of `written_`
  Operand operand_[kLevelCount + 1];
  char op_[kLevelCount];
  int depth_ = 0;  // pending operators; operand_[depth_] is the latest operand
};

inline Extended ChainSolver::ValueOf(const Operand& operand) {
  if (operand.whole) return operand.whole_value;
  if (operand.produced) return operand.read_back.Value();
  return ParseNumber(operand.text);
}

inline int ChainSolver::FreeSlot() {
  int slot = 0;
  while ((in_use_ & (1U << slot)) != 0) ++slot;
  assert(slot < static_cast<int>(std::size(written_)));
  written_[slot].Clear();
  return slot;
}

inline void ChainSolver::Release(const Operand& operand) {
  if (operand.slot >= 0) in_use_ &= ~(1U << operand.slot);
}

inline bool ChainSolver::Reduce() {
  Operand& left = operand_[depth_ - 1];
  const Operand& right = operand_[depth_];
  if ((!left.produced && !HasDigit(left.text)) || (!right.produced && !HasDigit(right.text))) {
    return false;
  }
  const Extended y = ValueOf(right);
  const Extended x = ValueOf(left);
  const double value = RoundToDouble(Apply(op_[depth_ - 1], x, y));
  Release(left);
  Release(right);
  // The left operand's place takes the result.
  left.produced = true;
  if (std::fabs(value) < 1e15 && static_cast<double>(static_cast<std::int64_t>(value)) == value) {
    left.whole = true;
    left.slot = -1;
    left.whole_value = value == 0 ? 0 : value;  // «0» reads back without a sign
  } else {
    left.whole = false;
    left.slot = FreeSlot();
    NumberText& text = written_[left.slot];
    FormatNumberInto(value, text);
    left.text = text.View().substr(text.View().front() == ' ' ? 1 : 0);
    left.read_back = text.read_back;
    in_use_ |= 1U << left.slot;
  }
  --depth_;
  return true;
}

inline bool ChainSolver::Take(std::string_view piece) {
  const bool end = piece.empty();
  if (!end && !IsOperator(piece)) {
    Operand& taken = operand_[depth_];
    taken.text = piece;
    taken.slot = -1;
    taken.produced = false;
    taken.whole = false;
    return true;
  }
  const int level = end ? kLevelCount : LevelOf(piece[0]);  // the end binds loosest
  while (depth_ > 0 && LevelOf(op_[depth_ - 1]) <= level) {
    if (!Reduce()) return false;
  }
  if (!end) {
    assert(depth_ < kLevelCount);
    op_[depth_++] = piece[0];
  }
  return true;
}

inline std::optional<std::string> ChainSolver::Answer() const {
  assert(depth_ == 0);
  if (operand_[0].whole) {
    NumberText text;
    FormatNumberInto(operand_[0].whole_value, text);
    return std::string(text.View().substr(text.View().front() == ' ' ? 1 : 0));
  }
  // The answer must be a number text, which only a lone operand, taken as it
  // stands, can fail to be.
  const std::string_view answer = operand_[0].text;
  for (const char c : answer) {
    if (!kNumberCharacterSet.Has(c)) return std::nullopt;
  }
  return std::string(answer);
}

}  // namespace

bool OperatorChain::Read(std::string_view w) {
  w_ = w;
  pieces_ = 0;
  bool expect_operand = true;
  for (std::size_t from = 0, end = 0; from <= w.size(); from = end + 1) {
    end = PieceEnd(w, from);
    const std::string_view piece = w.substr(from, end - from);
    if (piece.empty() || IsOperator(piece) == expect_operand) return false;
    expect_operand = !expect_operand;
    if (pieces_ < kRemembered) remembered_[pieces_] = end - from;
    ++pieces_;
  }
  return !expect_operand;  // not ended with an operator
}

std::optional<std::string> OperatorChain::Solve() const {
  ChainSolver solver;
  // The pieces, then the end, all through one call: Take and the reductions
  // inside it are then written out once, inline.
  std::size_t from = 0;  // where the next piece begins
  for (std::size_t i = 0; i <= pieces_; ++i) {
    std::string_view piece;  // the end
    if (i < pieces_) {
      piece = w_.substr(from, i < kRemembered ? remembered_[i] : PieceEnd(w_, from) - from);
      from += piece.size() + 1;
    }
    if (!solver.Take(piece)) return std::nullopt;
  }
  return solver.Answer();
}

}  // namespace fast
