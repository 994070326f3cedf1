// Plays the scenarios of tests/cases/terminal.txt: lumocalc on a
// pseudo-terminal, its screen rendered by libvterm and read row by row.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/escape.h"
#include "eval/calculate.h"
#include "session/calculate_typed.h"
#include "term/keys.h"
#include "term/session.h"
#include "testkit/case_file.h"
#include "testkit/pty_screen.h"

namespace {

// Generous: the sanitizer build on a busy machine. Only a failing step waits this long.
constexpr int kTimeoutMs = 10000;
// Long enough for the keys to have paused, by lumocalc's clock, after the
// last ones were taken.
constexpr auto kQuiet = std::chrono::milliseconds(6 * kKeyGapMs);
// Between the bytes of a "bytewise" step: well within the pause that ends a burst.
constexpr auto kMoment = std::chrono::milliseconds(kKeyGapMs / 10);

struct Step {
  std::string where;  // «terminal.txt:12»
  std::string verb;
  std::string argument;
};

struct Scenario {
  std::string name;
  int cols = 0;  // 0: no terminal at all
  int rows = 0;
  bool shell = false;  // run as a shell's job
  std::vector<Step> steps;
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
  *out << scenario.name;
}

// The text after the first blank, or nothing.
std::string Rest(const std::string& text) {
  const std::size_t blank = text.find(' ');
  return blank == std::string::npos ? "" : text.substr(blank + 1);
}

bool WritesKeys(const Step& step) {
  return step.verb == "keys" || step.verb == "bytewise" || step.verb == "repeat";
}

// What a step that writes keys writes.
std::string BytesOf(const Step& step) {
  if (step.verb != "repeat") return step.argument;
  std::string bytes;
  for (int times = std::stoi(step.argument); times-- > 0;) bytes += Rest(step.argument);
  return bytes;
}

std::vector<Scenario> LoadScenarios() {
  std::vector<Scenario> scenarios;
  for (const Case& row : ReadCases("terminal.txt")) {
    const Step step{row.where, row[0].substr(0, row[0].find(' ')), Rest(row[0])};
    if (step.verb == "case") {
      const std::string size = Rest(step.argument);
      scenarios.push_back(
          {step.argument.substr(0, step.argument.find(' ')), 0, 0, Rest(size) == "shell", {}});
      std::sscanf(size.c_str(), "%dx%d", &scenarios.back().cols, &scenarios.back().rows);
    } else if (!scenarios.empty()) {
      scenarios.back().steps.push_back(step);
    }
  }
  return scenarios;
}

// Without a terminal: standard input from /dev/null, the rest into a pipe.
void PlayWithoutTerminal(const Scenario& scenario) {
  FILE* output = popen(LUMOCALC_TERM " </dev/null 2>&1", "r");
  std::string said;
  for (int c; (c = std::fgetc(output)) != EOF;) said.push_back(static_cast<char>(c));
  const int wait_status = pclose(output);
  for (const Step& step : scenario.steps) {
    SCOPED_TRACE(step.where);
    if (step.verb == "exit") {
      EXPECT_EQ(WEXITSTATUS(wait_status), std::stoi(step.argument));
    } else {
      EXPECT_NE(said.find(step.argument), std::string::npos) << said;
    }
  }
}

class Terminal : public testing::TestWithParam<Scenario> {};

TEST_P(Terminal, Plays) {
  const Scenario& scenario = GetParam();
  if (scenario.cols == 0) return PlayWithoutTerminal(scenario);
  PtyScreen screen(LUMOCALC_TERM, scenario.cols, scenario.rows, scenario.shell);
  const auto shown = [&] {
    std::string rows;
    for (int row = 0; row < screen.Rows(); ++row) rows += "\n|" + screen.Row(row);
    const auto [row, column] = screen.Cursor();
    return rows + "\ncursor " + std::to_string(row) + " " + std::to_string(column);
  };
  // Keys sent before the program has set its modes would meet the terminal's
  // line editing; its first picture (the rule above the history) is up after.
  ASSERT_TRUE(screen.Await([&] { return !screen.Row(2).empty(); }, kTimeoutMs));
  bool closed = false;
  for (const Step& step : scenario.steps) {
    SCOPED_TRACE(step.where + ": " + step.verb + " " + step.argument);
    std::istringstream argument(step.argument);
    int first = 0;
    int second = 0;
    if (step.verb == "keys" || step.verb == "repeat") {
      screen.Send(BytesOf(step));
    } else if (step.verb == "bytewise") {
      for (const char byte : step.argument) {
        screen.Send(std::string_view(&byte, 1));
        std::this_thread::sleep_for(kMoment);
      }
    } else if (step.verb == "quiet") {
      std::this_thread::sleep_for(kQuiet);
    } else if (step.verb == "scribble") {
      screen.Scribble(step.argument);
    } else if (step.verb == "row") {
      argument >> first;
      const std::string expected = Rest(step.argument);
      ASSERT_TRUE(screen.Await([&] { return screen.Row(first) == expected; }, kTimeoutMs))
          << "the screen:" << shown();
    } else if (step.verb == "cursor") {
      argument >> first >> second;
      const std::pair<int, int> expected(first, second);
      ASSERT_TRUE(screen.Await([&] { return screen.Cursor() == expected; }, kTimeoutMs))
          << "the screen:" << shown();
    } else if (step.verb == "resize") {
      std::sscanf(step.argument.c_str(), "%dx%d", &first, &second);
      screen.Resize(first, second);
    } else if (step.verb == "signal") {
      static const std::map<std::string, int> kSignals = {
          {"TERM", SIGTERM}, {"HUP", SIGHUP}, {"INT", SIGINT}, {"QUIT", SIGQUIT}};
      screen.Signal(kSignals.at(step.argument));
    } else if (step.verb == "close") {
      screen.Close();
      closed = true;
    } else if (step.verb == "exit") {
      ASSERT_EQ(screen.Exit(kTimeoutMs), std::stoi(step.argument));
      EXPECT_TRUE(closed || screen.ModesRestored());
    } else {
      FAIL() << "unknown step";
    }
  }
}

// A terminal may split what it writes anywhere, a key or a paste included:
// the same keys read in one piece per step and one byte at a time leave the
// same line, answer and history.
TEST_P(Terminal, ReadsKeysInAnyPieces) {
  Session whole;
  Session bytewise;
  KeyDecoder whole_keys;
  KeyDecoder bytewise_keys;
  const auto perform = [](Session& session, const std::vector<KeyEvent>& keys) {
    for (const KeyEvent& key : keys) Perform(session, key, 2);
  };
  for (const Step& step : GetParam().steps) {
    if (step.verb == "quiet") {
      perform(whole, whole_keys.Flush());
      perform(bytewise, bytewise_keys.Flush());
      EndBurst(whole);
      EndBurst(bytewise);
    }
    if (!WritesKeys(step)) continue;
    const std::string bytes = BytesOf(step);
    perform(whole, whole_keys.Feed(bytes));
    for (const char byte : bytes) perform(bytewise, bytewise_keys.Feed(std::string_view(&byte, 1)));
  }
  EXPECT_EQ(bytewise.line.Line().text, whole.line.Line().text);
  EXPECT_EQ(bytewise.line.Line().caret, whole.line.Line().caret);
  EXPECT_EQ(bytewise.line.Answer(), whole.line.Answer());
  EXPECT_EQ(bytewise.line.CommittedLines(), whole.line.CommittedLines());
  EXPECT_EQ(bytewise.line.WaitingCount(), whole.line.WaitingCount());
}

// Any bytes, in any pieces, with pauses anywhere: the line never holds a
// line end, its answer is always the one for the text it holds, and every
// commit keeps its line for recall.
TEST(TerminalKeys, AnyBytesKeepTheLineAnswered) {
  static const char* const kPieces[] = {
      "1",      "+",     "2*",    "=",    "\xc3\xa9", "\xe2\x82\xac", "\xc3",      "\xa9",
      "\xff",   "\r",    "\n",    "\x1b", "[",        "\x1b[200~",    "\x1b[201~", "\x1b[A",
      "\x1b[B", "\033b", "\033f", "\x7f", "\x15",     "\x17",         "\x1b[D",    "\x1b[C",
      " ",      "\t",    "\x04",  "\x0b", "\x1b\x7f", "\x1b[3~",      "\x03",      "\xe2\x80\xaf"};
  std::mt19937 random(15);
  for (int round = 0; round < 1000; ++round) {
    Session session;
    KeyDecoder keys;
    std::string bytes;
    for (int piece = random() % 40; piece-- > 0;) bytes += kPieces[random() % std::size(kPieces)];
    for (std::size_t at = 0; at < bytes.size();) {
      const std::size_t length = 1 + random() % 6;
      std::vector<KeyEvent> events = keys.Feed(std::string_view(bytes).substr(at, length));
      at += length;
      if (random() % 4 == 0) {
        for (KeyEvent& flushed : keys.Flush()) events.push_back(std::move(flushed));
        EndBurst(session);
      }
      for (const KeyEvent& key : events) Perform(session, key, 2);
      SCOPED_TRACE(Escape(bytes.substr(0, at)));
      const LineSession& line = session.line;
      const std::string& text = line.Line().text;
      ASSERT_EQ(text.find_first_of("\r\n"), std::string::npos);
      ASSERT_LE(line.Line().caret, text.size());
      ASSERT_EQ(line.Answer(), CalculateTyped(text, Calculate));
      ASSERT_EQ(line.CommittedLines().size(), line.History().size());
      ASSERT_LE(line.Recalled(), line.CommittedLines().size());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(term, Terminal, testing::ValuesIn(LoadScenarios()),
                         [](const testing::TestParamInfo<Scenario>& played) {
                           return played.param.name;
                         });

}  // namespace
