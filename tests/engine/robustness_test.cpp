// Any line a user can type or paste, of any length and any bytes, gets an
// answer of the right form: the empty text, "Erreur de syntaxe", or the line,
// " = " and a display value. Long lines take the delivered engine only; the
// step engine's time grows with the square of the length.
#include <gtest/gtest.h>

#include <string>

#include "testkit/answer_check.h"
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

std::string Repeated(const std::string& piece, std::size_t length) {
  std::string line;
  while (line.size() < length) line += piece;
  line.resize(length);
  return line;
}

// The input field holds up to 32,767 characters; positions must not wrap
// there, nor beyond.
TEST(Robustness, LongLines) {
  constexpr std::size_t kLimit = 32767;
  const std::size_t depth = (kLimit - 1) / 2;
  const struct {
    std::string line;
    std::string value;  // "" for any answer of the right form
  } cases[] = {
      {"1" + Repeated("+1", kLimit - 1), "16 384"},
      {"2" + Repeated("+2", 80000), "80 002"},
      {"2" + Repeated("*1", kLimit - 1), "2"},
      {std::string(depth, '(') + "7" + std::string(depth, ')'), "7"},
      {std::string(kLimit, '('), "0"},
      {Repeated("(1+2)*", kLimit - 5) + "(1+2)", ""},
      {Repeated("2^", kLimit - 1) + "1", ""},
      {"1" + Repeated("+-", kLimit - 2) + "1", ""},
      {Repeated("9", kLimit), ""},
      {"1" + std::string(kLimit - 2, ' ') + "2", ""},
      {Repeated(")(", kLimit), ""},
      {Repeated("1,", kLimit), ""},
      {Repeated("-(1E-5", kLimit), ""},
  };
  for (const auto& [line, value] : cases) {
    const std::string shown = Shown(line);
    EXPECT_EQ(AnswerFault(line, shown), "") << line.substr(0, 20) << "…";
    if (!value.empty()) {
      EXPECT_EQ(shown, line + " = " + value) << line.substr(0, 20) << "…";
    }
  }
}

}  // namespace
