// The fuzz target: any byte string is a line the user may type or paste. The
// delivered engine must answer it without a crash, a hang or a sanitizer
// report, with an answer of the right form (testkit/answer_check.h), the same
// answer when asked again, and the step engine's answer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cli/escape.h"
#include "number/fpu_control.h"
#include "testkit/answer_check.h"
#include "testkit/engine_comparison.h"

namespace {

// Lines up to this length are evaluated twice: an engine that kept state
// between lines (a cache, a static buffer) would answer differently.
constexpr std::size_t kRepeatedUpTo = 1000;

// Lines up to this length are also given to the step engine, whose time
// grows with the square of the length; longer ones are only checked for form.
constexpr std::size_t kComparedUpTo = 4000;

[[noreturn]] void Fail(const std::string& fault) {
  std::fprintf(stderr, "lumocalc fuzz: %.600s\n", fault.c_str());
  std::abort();  // libFuzzer keeps the input as a crash
}

}  // namespace

// libFuzzer calls this once before the first input, replay_main.cpp too.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  LoadFpuControlWord();  // the calculator's mode, as every program of it starts
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  if (size <= kComparedUpTo) {
    const std::string mismatch = Mismatch(line);
    if (!mismatch.empty()) Fail(mismatch);
  }
  const std::string answer = Shown(line);
  if (size > kComparedUpTo) {
    const std::string fault = AnswerFault(line, answer);
    if (!fault.empty()) Fail(fault + " for a line of " + std::to_string(size) + " bytes");
  }
  if (size <= kRepeatedUpTo && Shown(line) != answer) {
    Fail("another answer the second time for «" + Escape(line) + "»");
  }
  return 0;
}
