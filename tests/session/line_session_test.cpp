// The line session, from tests/cases/session.txt, on the engine itself: the
// rules every front end follows, without a terminal or a browser.
#include "session/line_session.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "eval/calculate.h"
#include "session/calculate_typed.h"
#include "testkit/case_file.h"

namespace {

std::string CalculateLine(std::string_view line) {
  return CalculateTyped(line, Calculate);
}

void Act(LineSession& session, const std::string& action) {
  static const std::map<std::string, void (*)(LineSession&)> kKeys = {
      {"<bs>", [](LineSession& s) { s.Change(DeleteBefore); }},
      {"<del>", [](LineSession& s) { s.Change(DeleteAt); }},
      {"<left>", [](LineSession& s) { s.Change(MoveLeft); }},
      {"<right>", [](LineSession& s) { s.Change(MoveRight); }},
      {"<home>", [](LineSession& s) { s.Change(MoveHome); }},
      {"<end>", [](LineSession& s) { s.Change(MoveEnd); }},
      {"<up>", [](LineSession& s) { s.RecallOlder(); }},
      {"<down>", [](LineSession& s) { s.RecallNewer(); }},
      {"<drop>", [](LineSession& s) { s.DropWaiting(); }}};
  if (action[0] != '>') session.EndBurst();
  std::size_t from = 0, to = 0;
  if (const auto key = kKeys.find(action); key != kKeys.end()) {
    key->second(session);
  } else if (action[0] == '>') {
    session.Type(action.substr(1));
  } else if (action.rfind("<set>", 0) == 0) {
    session.SetLine(action.substr(5), action.size() - 5);
  } else if (std::sscanf(action.c_str(), "<over %zu %zu>", &from, &to) == 2) {
    session.TypeOver(from, to, action.substr(action.find('>') + 1));
  } else {
    session.Type(action);
  }
}

class LineSessionTest : public testing::TestWithParam<Case> {};

TEST_P(LineSessionTest, Plays) {
  const Case& row = GetParam();
  const std::string& actions = row[0];
  LineSession session(CalculateLine);
  for (std::size_t from = 0, at = 0; at != std::string::npos; from = at + 3) {
    at = actions.find(" | ", from);
    Act(session, actions.substr(from, at - from));
    ASSERT_EQ(session.Answer(), CalculateLine(session.Line().text));
  }
  std::string line = session.Line().text;
  EXPECT_EQ(line.insert(session.Line().caret, "|"), row[1]);
  EXPECT_EQ(session.Answer(), row[2]);
  std::string history;
  for (auto entry = session.History().rbegin(); entry != session.History().rend(); ++entry) {
    history += (history.empty() ? "" : " ; ") + *entry;
  }
  EXPECT_EQ(history, row[3]);
  EXPECT_EQ(session.WaitingCount(), std::stoul(row[4]));
  if (row.fields.size() > 5) {
    EXPECT_EQ(session.LeftOut(), std::stoul(row[5]));
  }
}

INSTANTIATE_TEST_SUITE_P(Table, LineSessionTest, testing::ValuesIn(ReadCases("session.txt")));

}  // namespace
