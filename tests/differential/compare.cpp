#include "tests/differential/compare.h"

#include "cli/escape.h"
#include "eval/display.h"
#include "eval/eval.h"
#include "eval/steps/steps.h"
#include "fuzz/answer_check.h"

std::string Shown(std::string_view line) {
  std::string shown;
  AppendDisplayed(line, Eval, shown);
  return shown;
}

std::string Mismatch(std::string_view line) {
  const std::string shown = Shown(line);
  const std::string fault = AnswerFault(line, shown);
  if (!fault.empty()) return "«" + Escape(line) + "»: " + fault + ": «" + Escape(shown) + "»";
  std::string expected;
  AppendDisplayed(line, steps::Eval, expected);
  if (shown == expected) return {};
  return "«" + Escape(line) + "»: one-pass engine «" + Escape(shown) + "», step engine «" +
         Escape(expected) + "»";
}
