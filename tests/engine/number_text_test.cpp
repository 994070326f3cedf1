// ParseNumber, FormatNumber and FormatGrouped: what a number text is worth and
// how a value is written back, from tests/cases/numbers.txt.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "eval/number_text.h"
#include "eval/significant_digits.h"
#include "testkit/case_file.h"

namespace {

// A value of the table, exact whatever long double is on this machine: a
// decimal text rounded once to the extended format, or a hex float (each
// of them a double).
Extended Value(const std::string& text) {
  if (text.find("0x") != std::string::npos) {
    return static_cast<Extended>(std::strtod(text.c_str(), nullptr));
  }
  const bool negative = text[0] == '-';
  std::uint64_t digits = 0;
  std::int64_t scale = 0;
  bool point = false;
  std::size_t i = negative ? 1 : 0;
  for (; i < text.size() && text[i] != 'E'; ++i) {
    if (text[i] == '.') {
      point = true;
    } else if (digits < 1000000000000000000) {
      digits = digits * 10 + static_cast<std::uint64_t>(text[i] - '0');
      scale -= point ? 1 : 0;
    } else {
      scale += point ? 0 : 1;  // beyond 19 digits: zeros only
    }
  }
  if (i < text.size()) scale += std::stoll(text.substr(i + 1));
  const Extended magnitude = ExactDecimal(digits, scale);
  return negative ? -magnitude : magnitude;
}

class NumberTextTest : public testing::TestWithParam<Case> {};

TEST_P(NumberTextTest, Converts) {
  const Case& row = GetParam();
  if (row[0] == "parse") {
    EXPECT_EQ(ParseNumber(row[1]), Value(row[2]));
  } else if (row[0] == "format") {
    EXPECT_EQ(FormatNumber(std::strtod(row[1].c_str(), nullptr)), row[2]);
  } else if (row[0] == "digits") {
    const Digits18 digits = SignificantDigits18(std::strtod(row[1].c_str(), nullptr));
    EXPECT_EQ(std::to_string(digits.significand) + " " + std::to_string(digits.exponent), row[2]);
  } else if (row[0] == "reads") {
    EXPECT_EQ(FormatNumber(ParseNumber(row[1])), row[2]);
  } else {
    ASSERT_EQ(row[0], "grouped");
    EXPECT_EQ(FormatGrouped(Value(row[1])), row[2]);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, NumberTextTest, testing::ValuesIn(ReadCases("numbers.txt")));

// Every intermediate result travels as its text: the text must read back as
// a value that is written as the same text again, and the value the solver
// takes instead of reading the text must be what reading it gives.
TEST(NumberText, WrittenTextReadsBackAsItsValue) {
  std::mt19937_64 random(3);
  for (int i = 0; i < 200000; ++i) {
    std::uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (i % 2 == 0) value = static_cast<double>(random() % 100000) / (1 + random() % 997);
    NumberText text;
    FormatNumberInto(value, text);
    const Extended read = ParseNumber(text.View());
    ASSERT_EQ(read, text.read_back.Value()) << text.View();
    ASSERT_EQ(FormatNumber(RoundToDouble(read)), text.View()) << text.View();
    ASSERT_EQ(FormatNumber(value), text.View());
  }
}

}  // namespace
