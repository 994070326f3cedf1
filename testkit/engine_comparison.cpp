#include "testkit/engine_comparison.h"

#include "cli/escape.h"
#include "eval/display.h"
#include "eval/fast/eval.h"
#include "eval/steps/eval.h"
#include "testkit/answer_check.h"

std::string Shown(std::string_view line) {
  std::string shown;
  AppendDisplayed(line, fast::Eval, shown);
  return shown;
}

std::string Mismatch(std::string_view line) {
  const std::string shown = Shown(line);
  const std::string fault = AnswerFault(line, shown);
  if (!fault.empty()) return "«" + Escape(line) + "»: " + fault + ": «" + Escape(shown) + "»";
  std::string expected;
  AppendDisplayed(line, steps::EvalForDisplay, expected);
  if (shown == expected) return {};
  return "«" + Escape(line) + "»: fast engine «" + Escape(shown) + "», step engine «" +
         Escape(expected) + "»";
}
