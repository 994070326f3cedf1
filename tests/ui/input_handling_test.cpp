#include "ui/input_handling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A stand-in for Calculate that records what it is asked: blank lines give
// the empty text, lines with a "?" the error text, others a marked answer.
std::vector<std::string> calls;

std::string FakeCalculate(std::string_view line) {
  calls.emplace_back(line);
  if (line.find_first_not_of(' ') == std::string_view::npos) return "";
  if (line.find('?') != std::string_view::npos) return "Erreur de syntaxe";
  return std::string(line) + " = v";
}

constexpr auto kNothing = InputReaction::kNothing;
constexpr auto kShow = InputReaction::kShowResult;
constexpr auto kCommit = InputReaction::kCommit;
constexpr auto kRefuse = InputReaction::kRefuse;

struct ChangeCase {
  const char* name;
  std::string last_line;    // before the change
  std::string last_result;  // before the change
  std::string text;         // the input's new text
  InputReaction reaction;
  std::string reaction_text;
  std::string last_line_after;
  std::string last_result_after;
  std::vector<std::string> calls;
};

TEST(ReactToInputChange, OneChange) {
  const ChangeCase cases[] = {
      {"first character", "", "", "2", kShow, "2 = v", "2", "2 = v", {"2"}},
      {"typing on", "2", "2 = v", "2+", kShow, "2+ = v", "2+", "2+ = v", {"2+"}},
      {"deleting everything empties the result", "2", "2 = v", "", kShow, "", "", "", {""}},
      {"blank line", "", "", "   ", kShow, "", "   ", "", {"   "}},
      {"error line",
       "2",
       "2 = v",
       "2?",
       kShow,
       "Erreur de syntaxe",
       "2?",
       "Erreur de syntaxe",
       {"2?"}},
      {"same text again is not evaluated", "12", "12 = v", "12", kNothing, "", "12", "12 = v", {}},
      {"the empty text at start is not evaluated", "", "", "", kNothing, "", "", "", {}},
      {"a lone CR is part of the line",
       "1",
       "1 = v",
       "1\r+1",
       kShow,
       "1\r+1 = v",
       "1\r+1",
       "1\r+1 = v",
       {"1\r+1"}},
      {"a lone LF is part of the line",
       "1",
       "1 = v",
       "1\n+1",
       kShow,
       "1\n+1 = v",
       "1\n+1",
       "1\n+1 = v",
       {"1\n+1"}},
      {"LF CR is no line break",
       "1",
       "1 = v",
       "1\n\r",
       kShow,
       "1\n\r = v",
       "1\n\r",
       "1\n\r = v",
       {"1\n\r"}},
      {"Enter on a valid line commits",
       "2+3",
       "2+3 = v",
       "2+3\r\n",
       kCommit,
       "2+3 = v",
       "",
       "",
       {}},
      {"Enter mid-line commits the line as it was",
       "1234",
       "1234 = v",
       "12\r\n34",
       kCommit,
       "1234 = v",
       "",
       "",
       {}},
      {"Enter at the start commits too", "5", "5 = v", "\r\n5", kCommit, "5 = v", "", "", {}},
      {"Enter on an empty input is refused", "", "", "\r\n", kRefuse, "", "", "", {}},
      {"Enter on a blank line keeps the blanks", "  ", "", "  \r\n", kRefuse, "  ", "  ", "", {}},
      {"Enter on an error keeps the line for correction",
       "2?",
       "Erreur de syntaxe",
       "2?\r\n",
       kRefuse,
       "2?",
       "2?",
       "Erreur de syntaxe",
       {}},
      {"a result merely containing the error text is committed",
       "x",
       "x Erreur de syntaxe",
       "x\r\n",
       kCommit,
       "x Erreur de syntaxe",
       "",
       "",
       {}},
      {"pasted line with a break, nothing shown: refused",
       "",
       "",
       "1+1\r\n",
       kRefuse,
       "1+1",
       "",
       "",
       {}},
      {"paste with a break over a valid result: committed, paste dropped",
       "7",
       "7 = v",
       "7\r\n8\r\n9",
       kCommit,
       "7 = v",
       "",
       "",
       {}},
      {"every pair removed on refusal", "", "", "1\r\n+\r\n2\r\n", kRefuse, "1+2", "", "", {}},
      {"single pass: CR CR LF LF leaves CR LF", "", "", "\r\r\n\n", kRefuse, "\r\n", "", "", {}},
      {"lone CR and LF stay on refusal", "", "", "a\rb\r\nc\nd", kRefuse, "a\rbc\nd", "", "", {}},
  };
  for (const ChangeCase& c : cases) {
    calls.clear();
    std::string last_line = c.last_line;
    std::string last_result = c.last_result;
    const InputChange change = ReactToInputChange(c.text, last_line, last_result, FakeCalculate);
    EXPECT_EQ(change.reaction, c.reaction) << c.name;
    EXPECT_EQ(change.text, c.reaction_text) << c.name;
    EXPECT_EQ(last_line, c.last_line_after) << c.name;
    EXPECT_EQ(last_result, c.last_result_after) << c.name;
    EXPECT_EQ(calls, c.calls) << c.name;
  }
}

// The texts a person's editing produces one after another, from an empty
// window, with the result field and history as the window would show them.
struct Session {
  const char* name;
  std::vector<std::string> inputs;
  std::string result;
  std::string history;
  std::vector<std::string> calls;
};

TEST(ReactToInputChange, Sessions) {
  const Session sessions[] = {
      {"typing 2+3", {"2", "2+", "2+3"}, "2+3 = v", "", {"2", "2+", "2+3"}},
      {"three commits, newest first",
       {"1", "1\r\n", "2", "2\r\n", "3", "3\r\n"},
       "",
       "3 = v\r\n2 = v\r\n1 = v\r\n",
       {"1", "2", "3"}},
      {"typing over a character with the same one",
       {"12", "1", "12", "12"},
       "12 = v",
       "",
       {"12", "1", "12"}},
      {"refused break, then the CR LF it leaves is a break again",
       {"?", "?\r\r\n\n", "?\r\n"},
       "Erreur de syntaxe",
       "",
       {"?"}},
      {"correction after a refused error, then commit",
       {"2?", "2?\r\n", "2", "2\r\n"},
       "",
       "2 = v\r\n",
       {"2?", "2"}},
      {"Enter after deleting a committed answer's line commits nothing",
       {"4", "", "\r\n"},
       "",
       "",
       {"4", ""}},
  };
  for (const Session& s : sessions) {
    calls.clear();
    std::string last_line, last_result, result, history;
    for (const std::string& text : s.inputs) {
      const InputChange change = ReactToInputChange(text, last_line, last_result, FakeCalculate);
      if (change.reaction == kShow) result = change.text;
      if (change.reaction == kCommit) {
        history = PrependToHistory(change.text, history);
        result.clear();
      }
    }
    EXPECT_EQ(result, s.result) << s.name;
    EXPECT_EQ(history, s.history) << s.name;
    EXPECT_EQ(calls, s.calls) << s.name;
  }
}

TEST(RemoveLineBreaks, SinglePassLeftToRight) {
  const struct {
    const char* text;
    const char* kept;
  } cases[] = {
      {"", ""},
      {"\r\n", ""},
      {"12\r\n", "12"},
      {"\r\r\n\n", "\r\n"},
      {"\r\n\r\n", ""},
      {"\n\r", "\n\r"},
      {"\r\r\n", "\r"},
      {"\r\n\n", "\n"},
      {"a\r\nb\r\nc", "abc"},
  };
  for (const auto& c : cases) EXPECT_EQ(RemoveLineBreaks(c.text), c.kept) << c.text;
}

}  // namespace
