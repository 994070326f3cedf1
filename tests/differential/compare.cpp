#include "tests/differential/compare.h"

#include <vector>

#include "cli/escape.h"
#include "eval/calculate.h"
#include "tests/reference/reference.h"
#if DEBUG_LOG
#include "tests/differential/capture_log.h"
#endif

std::string Mismatch(const std::string& line) {
  const std::string shown = Calculate(line);
#if DEBUG_LOG
  const std::vector<std::string> trace = TakeCapturedTrace();
#endif
  const std::string expected = reference::Calculate(line);
  if (shown != expected) {
    return "«" + Escape(line) + "»: engine «" + Escape(shown) + "», reference «" +
           Escape(expected) + "»";
  }
#if DEBUG_LOG
  const std::vector<std::string> expected_trace = TakeCapturedTrace();
  for (std::size_t i = 0; i < trace.size() || i < expected_trace.size(); ++i) {
    const std::string got = i < trace.size() ? trace[i] : "(none)";
    const std::string want = i < expected_trace.size() ? expected_trace[i] : "(none)";
    if (got != want) {
      return "«" + Escape(line) + "» trace line " + std::to_string(i + 1) + ": engine «" +
             Escape(got) + "», reference «" + Escape(want) + "»";
    }
  }
#endif
  return {};
}
