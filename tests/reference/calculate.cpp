// The display form of a result text r:
//   integer part, grouped by threes with blanks («1 234 567»);
//   " , " and the decimal part, cut (not rounded) to six digits, when r has a ".";
//   a blank and the exponent part from the "E" on, when r has an "E".
// Texts that are not well-formed numbers (a line without an operator comes
// back as typed, «1.2.3» or «.5E3») are taken apart by the same positions.
#include "tests/reference/reference.h"

namespace reference {

namespace {

constexpr std::size_t kShownDecimals = 6;

std::string DisplayValue(std::string r) {
  std::size_t point = r.find('.');                 // positions from here on are 0-based
  if (point == 0) r = std::string("0").append(r);  // «.5» is shown «0 , 5»
  point = r.find('.');
  const std::size_t marker = r.find('E');

  std::string exponent_part;
  std::size_t mantissa_end = r.size();  // one past the mantissa's last character
  if (marker != std::string::npos) {
    exponent_part = std::string(" ").append(r, marker);
    mantissa_end = marker;
  }
  std::string integer_part;
  std::string decimal_part;
  if (point == std::string::npos) {
    integer_part = r.substr(0, mantissa_end);
  } else {
    integer_part = r.substr(0, point);
    // With the "E" before the ".", as in «1E5.5», the decimals run to the end.
    const std::size_t decimals_end = mantissa_end < point ? r.size() : mantissa_end;
    decimal_part = r.substr(point + 1, decimals_end - (point + 1)).substr(0, kShownDecimals);
  }

  std::string grouped = ReplaceAll(FormatGrouped(ParseNumber(integer_part)), ",", " ");
  // A zero integer part of a negative value, as in «-.5», keeps the sign.
  if (ParseNumber(r) < 0 && grouped.front() != '-') grouped = std::string("-").append(grouped);

  if (point == std::string::npos) return grouped + exponent_part;
  return grouped + " , " + decimal_part + exponent_part;
}

}  // namespace

std::string Calculate(std::string_view line) {
  if (TrimBlanks(line).empty()) return {};
  std::string r = Eval(line);
  if (ContainsError(r)) return std::string(kErrorText);
  return std::string(line) + " = " + DisplayValue(std::move(r));
}

}  // namespace reference
