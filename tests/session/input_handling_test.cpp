// The window's rules for each new text of its input field, played from
// tests/cases/input.txt as the window would carry them out.
#include "session/input_handling.h"

#include <gtest/gtest.h>

#include <string>

#include "testkit/case_file.h"

namespace {

int CalculateCalls = 0;

std::string FakeCalculate(std::string_view line) {
  ++CalculateCalls;
  if (line.find_first_not_of(' ') == std::string_view::npos) return "";
  if (line.find('?') != std::string_view::npos) return "Erreur de syntaxe";
  return std::string(line) + " = v";
}

class InputTest : public testing::TestWithParam<Case> {};

TEST_P(InputTest, FieldsAfterEachChange) {
  const Case& row = GetParam();
  CalculateCalls = 0;
  std::string last_line, last_result, input, result, history;
  for (std::size_t from = 0, at = 0; at != std::string::npos; from = at + 3) {
    at = row[0].find(" | ", from);
    const std::string text = row[0].substr(from, at - from);
    const InputChange change = ReactToInputChange(text, last_line, last_result, FakeCalculate);
    input = text;
    if (change.reaction == InputReaction::kShowResult) result = change.text;
    if (change.reaction == InputReaction::kRefuse) input = change.text;
    if (change.reaction == InputReaction::kCommit) {
      history = PrependToHistory(change.text, history);
      input.clear();
      result.clear();
    }
  }
  EXPECT_EQ(input, row[1]);
  EXPECT_EQ(result, row[2]);
  EXPECT_EQ(history, row[3]);
  EXPECT_EQ(std::to_string(CalculateCalls), row[4]);
}

INSTANTIATE_TEST_SUITE_P(Table, InputTest, testing::ValuesIn(ReadCases("input.txt")));

}  // namespace
