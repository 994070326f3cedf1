#include "session/calculate_typed.h"

#include <optional>

#include "eval/text.h"
#include "session/text_encoding.h"

std::string CalculateTyped(std::string_view line, Calculator calculate) {
  const std::optional<std::string> bytes = Windows1252FromUtf8(line);
  if (!bytes) return std::string(kErrorText);
  return Utf8FromWindows1252(calculate(*bytes));
}
