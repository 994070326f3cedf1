// Every intermediate result is rounded to a double and written back with 15
// significant digits, so the next reduction reads the value its text shows.
#include "eval/fast/reduce_operands.h"

#include "eval/arithmetic.h"
#include "eval/number_text.h"
#include "eval/text.h"

namespace fast {

std::optional<std::string_view> ReduceOperands(std::string_view left, char op,
                                               std::string_view right, NumberText& value,
                                               const Extended* left_value) {
  if (!HasDigit(left) || !HasDigit(right)) return std::nullopt;
  const Extended y = ParseNumber(right);
  const Extended x = left_value != nullptr ? *left_value : ParseNumber(left);
  FormatNumberInto(RoundToDouble(Apply(op, x, y)), value);
  std::string_view text = value.View();
  if (text.front() == ' ') text.remove_prefix(1);  // FormatNumber's blank for "not negative"
  return text;
}

}  // namespace fast
