// Calculate with the engine of this build: the fast engine of eval/fast/ in
// the delivered build, the step-by-step engine of eval/steps/ when the debug
// log is on (its trace records every rewrite).
#include "eval/calculate.h"

#include "diag/debug_log.h"
#include "eval/display.h"
#include "eval/fast/eval.h"
#include "eval/steps/eval.h"

void AppendCalculated(std::string_view line, std::string& out) {
#if DEBUG_LOG
  AppendDisplayed(line, steps::EvalForDisplay, out);
#else
  AppendDisplayed(line, fast::Eval, out);
#endif
}

std::string Calculate(std::string_view line) {
  std::string shown;
  shown.reserve(2 * line.size() + 24);
  AppendCalculated(line, shown);
  return shown;
}
