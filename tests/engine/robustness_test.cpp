// Any line a user can type or paste, of any length and any bytes, gets an
// answer of the right form: the empty text, "Erreur de syntaxe", or the line,
// " = " and a display value; the long ones from tests/cases/long.txt.
#include <gtest/gtest.h>

#include <string>

#include "testkit/answer_check.h"
#include "testkit/case_file.h"
#include "testkit/engine_comparison.h"

namespace {

TEST(Robustness, EveryByteAloneAndAsAnOperand) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string c(1, static_cast<char>(byte));
    for (const std::string& line : {c, "1+" + c, c + "*2", "(" + c + ")", "-&" + c + "1+1"}) {
      EXPECT_EQ(Mismatch(line), "") << "byte " << byte;
    }
  }
}

class LongLineTest : public testing::TestWithParam<Case> {};

TEST_P(LongLineTest, AnsweredInFull) {
  const Case& row = GetParam();
  const std::string shown = Shown(row[0]);
  EXPECT_EQ(AnswerFault(row[0], shown), "");
  if (!row[1].empty()) {
    EXPECT_EQ(shown, row[0] + " = " + row[1]);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, LongLineTest, testing::ValuesIn(ReadCases("long.txt")));

}  // namespace
