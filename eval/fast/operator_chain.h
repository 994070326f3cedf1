// The common shape of a flat expression, an operator chain, solved in one
// pass: operand, operator, operand, ... operand, with every operator a lone
// "^", "*", "/", "+" or "-" and no operand one of them or empty.
//
// There the three sweeps of Solv come to ordinary precedence evaluation: each
// reduction meets the same two operand texts whichever order the independent
// reductions are done in, so one pass with a stack of pending operators gives
// every answer the sweeps give. (Which refusal comes first can differ, but a
// refusal is a refusal whichever it is.)
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace fast {

class OperatorChain {
 public:
  // Looks at the shape of w (no blank at either end) and remembers where its
  // pieces lie; false when w is not an operator chain.
  bool Read(std::string_view w);

  // After Read found a chain: its value's text, or nothing when a reduction
  // is refused or the answer, a lone operand, is not a number text.
  std::optional<std::string> Solve() const;

 private:
  // The sizes of the pieces of a line of ordinary length, so that Solve
  // needn't look for their ends again; beyond these it does.
  static constexpr std::size_t kRemembered = 64;

  std::string_view w_;
  std::size_t pieces_ = 0;
  std::size_t remembered_[kRemembered];  // left uninitialised: no cost for unused entries
};

}  // namespace fast
