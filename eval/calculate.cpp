// Calculate with the engine of this build: the one-pass engine of eval/ in
// the delivered build, the step-by-step engine of eval/steps/ when the debug
// log is on (its trace records every rewrite).
#include "eval/calculate.h"

#include "diag/debug_log.h"
#include "eval/display.h"
#include "eval/eval.h"
#include "eval/steps/steps.h"

void AppendCalculated(std::string_view line, std::string& out) {
#if DEBUG_LOG
  AppendDisplayed(line, steps::Eval, out);
#else
  AppendDisplayed(line, Eval, out);
#endif
}

std::string Calculate(std::string_view line) {
  std::string shown;
  shown.reserve(2 * line.size() + 24);
  AppendCalculated(line, shown);
  return shown;
}
