// Plays the scenarios of tests/cases/terminal.txt: lumocalc on a
// pseudo-terminal, its screen rendered by libvterm and read row by row.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "term/keys.h"
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
  int cols = 0;
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

class Terminal : public testing::TestWithParam<Scenario> {};

TEST_P(Terminal, Plays) {
  const Scenario& scenario = GetParam();
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

INSTANTIATE_TEST_SUITE_P(term, Terminal, testing::ValuesIn(LoadScenarios()),
                         [](const testing::TestParamInfo<Scenario>& played) {
                           return played.param.name;
                         });

}  // namespace
