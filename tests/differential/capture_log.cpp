#include "tests/differential/capture_log.h"

#include <utility>

#include "diag/debug_log.h"

namespace {
std::vector<std::string> captured;
}  // namespace

void OpenDebugLog() {}
void DebugLog(std::string_view message) {
  captured.emplace_back(message);
}

std::vector<std::string> TakeCapturedTrace() {
  return std::exchange(captured, {});
}
