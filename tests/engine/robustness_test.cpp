// Any line a user can type or paste, of any length and any bytes, gets an
// answer: the empty text, "Erreur de syntaxe", or the line, " = " and a value.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "eval/calculate.h"
#include "eval/text.h"

namespace {

// The shape of every answer; the characters of a display value are those of
// a grouped number, " , " and the malformed texts a lone operand may bring.
testing::AssertionResult IsAnAnswerTo(const std::string& line, const std::string& shown) {
  if (shown.empty()) {
    if (TrimBlanks(line).empty()) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "empty answer to a non-blank line";
  }
  if (shown == kErrorText) return testing::AssertionSuccess();
  const std::string prefix = line + " = ";
  if (shown.compare(0, prefix.size(), prefix) != 0) {
    return testing::AssertionFailure() << "answer does not echo the line";
  }
  const std::string value = shown.substr(prefix.size());
  if (value.empty() || value.find_first_not_of("0123456789 ,.E+-") != std::string::npos) {
    return testing::AssertionFailure() << "odd display value «" << value << "»";
  }
  return testing::AssertionSuccess();
}

TEST(Robustness, EveryByteAloneAndAsAnOperand) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string c(1, static_cast<char>(byte));
    for (const std::string& line : {c, "1+" + c, c + "*2", "(" + c + ")", "&" + c + "1+1"}) {
      EXPECT_TRUE(IsAnAnswerTo(line, Calculate(line))) << "byte " << byte;
    }
  }
}

TEST(Robustness, SeededRandomLines) {
  // Weighted towards the characters the evaluation reacts to, so that most
  // lines go deep into it rather than failing at once.
  const std::string alphabet = "0123456789+-*/^(),.E &Hh  \t=eDdxAF";
  std::mt19937 random(20261206);
  for (int i = 0; i < 20000; ++i) {
    std::string line(random() % 40, ' ');
    for (char& c : line) {
      c = random() % 8 == 0 ? static_cast<char>(random() % 256)
                            : alphabet[random() % alphabet.size()];
    }
    ASSERT_TRUE(IsAnAnswerTo(line, Calculate(line))) << "line «" << line << "»";
  }
}

std::string Repeated(const std::string& piece, std::size_t length) {
  std::string line;
  while (line.size() < length) line += piece;
  line.resize(length);
  return line;
}

// The input field holds up to 32,767 characters; positions must not wrap.
constexpr std::size_t kFieldLimit = 32767;

TEST(Robustness, LongSumIsExact) {
  const std::string line = "1" + Repeated("+1", kFieldLimit - 1);  // 16,384 ones
  EXPECT_EQ(Calculate(line), line + " = 16 384");
}

TEST(Robustness, SumBeyondSixteenBitPositions) {
  const std::string line = "2" + Repeated("+2", 40000);
  EXPECT_EQ(Calculate(line), line + " = 40 002");
}

TEST(Robustness, LongProduct) {
  const std::string line = "2" + Repeated("*1", kFieldLimit - 1);
  EXPECT_EQ(Calculate(line), line + " = 2");
}

TEST(Robustness, DeepNesting) {
  const std::size_t depth = (kFieldLimit - 1) / 2;
  const std::string line = std::string(depth, '(') + "7" + std::string(depth, ')');
  EXPECT_EQ(Calculate(line), line + " = 7");
}

TEST(Robustness, UnclosedNesting) {
  const std::string line(kFieldLimit, '(');
  EXPECT_EQ(Calculate(line), line + " = 0");
}

TEST(Robustness, OtherLongShapes) {
  for (const std::string& line :
       {Repeated("2^", kFieldLimit - 1) + "1", Repeated("(1+2)+", kFieldLimit - 5) + "(1+2)",
        "1" + Repeated("+-", kFieldLimit - 2) + "1", Repeated("9", kFieldLimit),
        "1" + std::string(kFieldLimit - 2, ' ') + "2", Repeated(")(", kFieldLimit),
        Repeated("1,", kFieldLimit)}) {
    EXPECT_TRUE(IsAnAnswerTo(line, Calculate(line))) << line.substr(0, 20) << "…";
  }
}

}  // namespace
