// The README's guide "How a line is read" cannot drift from the engine: each
// of its examples, a line of one of its code blocks, is a row of
// tests/cases/calculate.txt, which both engines answer. The man pages take
// the guide from the README as it stands.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

namespace {

TEST(Guide, EveryExampleIsARowOfTheCaseTable) {
  std::ifstream table(LUMOCALC_CALCULATE_TABLE);
  std::set<std::string> rows;
  for (std::string row; std::getline(table, row);) rows.insert(row);
  ASSERT_FALSE(rows.empty()) << "can't read " LUMOCALC_CALCULATE_TABLE;

  std::ifstream readme(LUMOCALC_README);
  bool in_guide = false;
  bool in_block = false;
  int examples = 0;
  std::string line;
  for (int number = 1; std::getline(readme, line); ++number) {
    if (line == "<!-- man:guide -->" || line == "<!-- /man:guide -->") {
      in_guide = line[5] == 'm';
    } else if (in_guide && line.rfind("```", 0) == 0) {
      in_block = !in_block;
    } else if (in_guide && in_block) {
      ++examples;
      EXPECT_EQ(rows.count(line), 1u) << "README.md:" << number << ": " << line;
    }
  }
  EXPECT_FALSE(in_guide || in_block) << "the guide or a code block in it is not closed";
  EXPECT_GE(examples, 30) << "the guide's examples are not where they were";
}

}  // namespace
