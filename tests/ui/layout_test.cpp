// The window's arithmetic, from tests/cases/layout.txt.
#include "ui/layout.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "testkit/case_file.h"

namespace {

std::vector<int> Numbers(const std::string& text) {
  std::istringstream in(text);
  std::vector<int> numbers;
  for (int n; in >> n;) numbers.push_back(n);
  return numbers;
}

class LayoutTest : public testing::TestWithParam<Case> {};

TEST_P(LayoutTest, Computes) {
  const Case& row = GetParam();
  const std::vector<int> in = Numbers(row[1]);
  const std::vector<int> out = Numbers(row.fields.back());
  if (row[0] == "units") {
    EXPECT_EQ(PixelsToUnits(in[0], Numbers(row[2])[0]), out[0]);
  } else if (row[0] == "size type") {
    EXPECT_EQ(IsLayoutSizeType(static_cast<unsigned>(in[0])), out[0] != 0);
  } else if (row[0] == "font") {
    EXPECT_EQ(ControlFontHeight(in[0]), out[0]);
  } else {
    ASSERT_EQ(row[0], "layout");
    const Layout layout = LayoutForWindow({in[0], in[1]});
    const Size sizes[] = {layout.window, layout.input, layout.result, layout.history};
    std::vector<int> got;
    for (const Size& size : sizes) got.insert(got.end(), {size.width, size.height});
    EXPECT_EQ(got, out);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, LayoutTest, testing::ValuesIn(ReadCases("layout.txt")));

}  // namespace
