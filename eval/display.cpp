// The display form of a result text r:
//   integer part, grouped by threes with blanks («1 234 567»);
//   " , " and the decimal part, cut (not rounded) to six digits, when r has a ".";
//   a blank and the exponent part from the "E" on, when r has an "E".
// Texts that are not well-formed numbers (a line without an operator comes
// back as typed, «1.2.3» or «.5E3») are taken apart by the same positions.
#include "eval/display.h"

#include "eval/number_text.h"
#include "eval/text.h"

namespace {

constexpr std::size_t kShownDecimals = 6;

// A text that begins with the point, «.5», has an empty integer part, worth
// 0 like the "0" that is shown for it: «0 , 5».
void AppendDisplayValue(std::string_view text, std::string& out) {
  const std::size_t point = text.find('.');  // positions from here on are 0-based
  const std::size_t marker = text.find('E');
  const std::size_t mantissa_end = marker == std::string_view::npos ? text.size() : marker;

  const std::size_t size_before = out.size();
  AppendGrouped(ParseNumber(point == std::string_view::npos ? text.substr(0, mantissa_end)
                                                            : text.substr(0, point)),
                ' ', out);
  // A zero integer part of a negative value, as in «-.5», keeps the sign. Only
  // a text that begins with "-" can be worth less than zero here: the result
  // holds nothing but digits, ".", "E", "+" and "-".
  if (out[size_before] != '-' && text.front() == '-' && ParseNumber(text) < 0) {
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(size_before), '-');
  }
  if (point != std::string_view::npos) {
    // With the "E" before the ".", as in «1E5.5», the decimals run to the end.
    const std::size_t decimals_end = mantissa_end < point ? text.size() : mantissa_end;
    out.append(" , ").append(
        text.substr(point + 1, decimals_end - (point + 1)).substr(0, kShownDecimals));
  }
  if (marker != std::string_view::npos) out.append(" ").append(text.substr(marker));
}

}  // namespace

void AppendDisplayed(std::string_view line, Evaluator eval, std::string& out) {
  if (TrimBlanks(line).empty()) return;
  const std::optional<std::string> r = eval(line);
  if (!r) {
    out.append(kErrorText);
    return;
  }
  out.append(line).append(" = ");
  AppendDisplayValue(*r, out);
}
