#include "session/calculate_typed.h"

#include <optional>

#include "eval/text.h"
#include "session/text_encoding.h"

namespace {

// The answer at `out[start..]` to `bytes`, the single-byte text of `line`, in
// UTF-8. An answer that starts with the line shows it as typed: the
// conversion gives every character back but U+202F, which would read back as
// U+00A0.
void AnswerInUtf8(std::string_view line, std::string_view bytes, std::size_t start,
                  std::string& out) {
  const std::string answer = out.substr(start);
  out.resize(start);
  const bool echoed = answer.compare(0, bytes.size(), bytes) == 0;
  const std::size_t echo = echoed ? bytes.size() : 0;
  out.append(echoed ? line : std::string_view())
      .append(Utf8FromWindows1252(std::string_view(answer).substr(echo)));
}

// `calculate(bytes, out)` appends the engine's answer to `out`.
template <typename Calculate>
void AppendTyped(std::string_view line, Calculate calculate, std::string& out) {
  const std::size_t start = out.size();
  if (IsAscii(line)) {
    // Nearly every line: ASCII is its own single-byte text, and an ASCII
    // answer is UTF-8 as it stands.
    calculate(line, out);
    if (!IsAscii(std::string_view(out).substr(start))) AnswerInUtf8(line, line, start, out);
    return;
  }
  const std::optional<std::string> bytes = Windows1252FromUtf8(line);
  if (!bytes) {
    out.append(kErrorText);
    return;
  }
  calculate(*bytes, out);
  AnswerInUtf8(line, *bytes, start, out);
}

}  // namespace

std::string CalculateTyped(std::string_view line, Calculator calculate) {
  std::string shown;
  // The first answer in an empty text: taken over, not copied.
  AppendTyped(
      line, [calculate](std::string_view bytes, std::string& out) { out = calculate(bytes); },
      shown);
  return shown;
}

void AppendCalculatedTyped(std::string_view line, AppendingCalculator calculate, std::string& out) {
  AppendTyped(line, calculate, out);
}
