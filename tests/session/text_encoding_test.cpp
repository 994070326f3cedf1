// The conversions between UTF-8 and the engine's single-byte text, from
// tests/cases/encoding.txt.
#include "session/text_encoding.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "session/calculate_typed.h"
#include "testkit/case_file.h"

namespace {

// An engine whose answer starts with the line and then holds it once more,
// and a degree sign, a character past ASCII even after an ASCII line.
std::string Echo(std::string_view line) {
  return std::string(line).append(" = ").append(line).append("\xB0");
}

// The same, after what a buffer holds already.
void AppendEcho(std::string_view line, std::string& out) {
  out.append(Echo(line));
}

class EncodingTest : public testing::TestWithParam<Case> {};

TEST_P(EncodingTest, ConvertsAndCounts) {
  const Case& row = GetParam();
  const std::string& utf8 = row[0];
  const std::optional<std::string> bytes = Windows1252FromUtf8(utf8);
  EXPECT_EQ(bytes.value_or("(refused)"), row[1]);
  if (bytes) {
    EXPECT_EQ(Utf8FromWindows1252(*bytes), row.fields.size() > 3 ? row[3] : utf8);
  }

  // The answer shows the line as typed, and the rest as read back.
  const std::string shown =
      bytes ? utf8 + " = " + Utf8FromWindows1252(*bytes) + "\u00B0" : "Erreur de syntaxe";
  EXPECT_EQ(CalculateTyped(utf8, Echo), shown);
  std::string appended = "before";
  AppendCalculatedTyped(utf8, AppendEcho, appended);
  EXPECT_EQ(appended, "before" + shown);
  EXPECT_EQ(IsAscii(utf8), std::all_of(utf8.begin(), utf8.end(), [](char byte) {
              return static_cast<unsigned char>(byte) < 0x80;
            }));

  // Characters counted forwards and backwards agree.
  const std::size_t count = std::stoul(row[2]);
  EXPECT_EQ(CountCharacters(utf8), count);
  std::size_t backwards = 0;
  for (std::size_t at = utf8.size(); at > 0; at = PreviousCharacterStart(utf8, at)) ++backwards;
  EXPECT_EQ(backwards, count);

  // A text cut inside a well-formed character waits for its rest; cut after
  // one, it waits for nothing.
  for (std::size_t at = 0; at < utf8.size();) {
    const Utf8Character character = DecodeUtf8(utf8, at);
    at += character.length;
    if (!character.well_formed) continue;
    for (std::size_t cut = 1; cut <= character.length; ++cut) {
      const std::size_t tail =
          UnfinishedUtf8Tail(std::string_view(utf8).substr(0, at - character.length + cut));
      EXPECT_EQ(tail, cut < character.length ? cut : 0) << "cut after byte " << cut;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, EncodingTest, testing::ValuesIn(ReadCases("encoding.txt")));

}  // namespace
