#include "session/calculate_typed.h"

#include <optional>

#include "eval/text.h"
#include "session/text_encoding.h"

std::string CalculateTyped(std::string_view line, Calculator calculate) {
  const std::optional<std::string> bytes = Windows1252FromUtf8(line);
  if (!bytes) return std::string(kErrorText);
  const std::string answer = calculate(*bytes);
  // An answer that starts with the line shows it as typed: the conversion
  // gives every character back but U+202F, which would read back as U+00A0.
  const bool echoed = answer.compare(0, bytes->size(), *bytes) == 0;
  const std::size_t echo = echoed ? bytes->size() : 0;
  return std::string(echoed ? line : std::string_view())
      .append(Utf8FromWindows1252(std::string_view(answer).substr(echo)));
}
