// The paste rule, from tests/cases/paste.txt, on a stand-in input that
// commits every line that is not blank and holds no "?".
#include "session/paste_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "testkit/case_file.h"

namespace {

class PasteTest : public testing::TestWithParam<Case> {};

TEST_P(PasteTest, TakesLineByLine) {
  const Case& row = GetParam();
  std::string input;
  std::string committed;
  WaitingLines waiting;
  const TypeText type = [&](std::string_view text) { input.append(text); };
  const PressEnter enter = [&] {
    if (input.find_first_not_of(' ') == std::string::npos) return Entered::kBlank;
    if (input.find('?') != std::string::npos) return Entered::kRefused;
    committed += (committed.empty() ? "" : " ; ") + input;
    input.clear();
    return Entered::kCommitted;
  };
  for (std::size_t from = 0, at = 0; at != std::string::npos; from = at + 3) {
    at = row[0].find(" | ", from);
    const std::string step = row[0].substr(from, at - from);
    if (step == "~") {
      input.pop_back();
    } else if (step[0] == '>') {
      waiting.Append(std::string_view(step).substr(1));
    } else {
      TakeText(waiting, step, type, enter);
    }
  }
  EXPECT_EQ(committed, row[1]);
  EXPECT_EQ(input, row[2]);
  EXPECT_EQ(std::to_string(waiting.Count()), row[3]);
}

INSTANTIATE_TEST_SUITE_P(Table, PasteTest, testing::ValuesIn(ReadCases("paste.txt")));

}  // namespace
