// The fuzz target: any byte string is a line the user may type or paste.
// Calculate must answer it without a crash, a hang or a sanitizer report,
// with an answer of the right form (fuzz/answer_check.h), the same answer
// when asked again, and the answer of the straightforward text-rewriting
// reference (tests/reference), which the engine's shortcuts must not change.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "eval/calculate.h"
#include "fuzz/answer_check.h"
#include "tests/reference/reference.h"

namespace {

// Lines up to this length are evaluated twice: an engine that kept state
// between lines (a cache, a static buffer) would answer differently.
constexpr std::size_t kRepeatedUpTo = 1000;

// Lines up to this length are also given to the reference, whose time grows
// with the square of the length.
constexpr std::size_t kComparedUpTo = 4000;

// At most this much of a line or answer goes into a report.
constexpr std::size_t kShownBytes = 300;

void PrintEscaped(const char* label, std::string_view text) {
  std::fprintf(stderr, "%s (%zu bytes): \"", label, text.size());
  for (std::size_t i = 0; i < text.size() && i < kShownBytes; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      std::fprintf(stderr, "\\%c", c);
    } else if (c >= 0x20 && c < 0x7F) {
      std::fputc(c, stderr);
    } else {
      std::fprintf(stderr, "\\x%02X", c);
    }
  }
  std::fprintf(stderr, "\"%s\n", text.size() > kShownBytes ? "..." : "");
}

[[noreturn]] void Fail(std::string_view fault, std::string_view line, std::string_view answer) {
  std::fprintf(stderr, "lumocalc fuzz: %.*s\n", static_cast<int>(fault.size()), fault.data());
  PrintEscaped("  line", line);
  PrintEscaped("  answer", answer);
  std::abort();  // libFuzzer keeps the input as a crash
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::string answer = Calculate(line);
  const std::string fault = AnswerFault(line, answer);
  if (!fault.empty()) Fail(fault, line, answer);
  if (size <= kRepeatedUpTo) {
    const std::string again = Calculate(line);
    if (again != answer) Fail("another answer the second time: " + again, line, answer);
  }
  if (size <= kComparedUpTo) {
    const std::string expected = reference::Calculate(line);
    if (expected != answer) Fail("the reference answers: " + expected, line, answer);
  }
  return 0;
}
