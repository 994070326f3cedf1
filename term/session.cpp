#include "term/session.h"

#include <algorithm>

#include "eval/calculate.h"
#include "session/calculate_typed.h"

namespace {

// The terminal's line is UTF-8; the engine of this build answers it.
std::string CalculateLine(std::string_view line) {
  return CalculateTyped(line, Calculate);
}

bool Edit(InputLine& line, Action action) {
  switch (action) {
    case Action::kLeft:
      return MoveLeft(line);
    case Action::kRight:
      return MoveRight(line);
    case Action::kWordLeft:
      return MoveWordLeft(line);
    case Action::kWordRight:
      return MoveWordRight(line);
    case Action::kHome:
      return MoveHome(line);
    case Action::kEnd:
      return MoveEnd(line);
    case Action::kBackspace:
      return DeleteBefore(line);
    case Action::kDelete:
    case Action::kQuitIfEmpty:  // on a line that isn't empty
      return DeleteAt(line);
    case Action::kDeleteToStart:
      return DeleteToStart(line);
    case Action::kDeleteToEnd:
      return DeleteToEnd(line);
    case Action::kDeleteWordBefore:
      return DeleteWordBefore(line);
    case Action::kDeleteToWordStart:
      return DeleteToWordStart(line);
    default:
      return false;
  }
}

void ScrollHistory(Session& session, Action action, std::size_t page) {
  const std::size_t entries = session.line.History().size();
  const std::size_t last_top = entries > page ? entries - page : 0;
  std::size_t& top = session.history_top;
  if (action == Action::kPageUp) top -= std::min(top, page);
  if (action == Action::kPageDown) top = std::min(top + page, last_top);
}

}  // namespace

Session::Session() : line(CalculateLine) {}

Outcome Perform(Session& session, const KeyEvent& key, std::size_t page) {
  LineSession& line = session.line;
  const std::size_t entries = line.History().size();
  switch (key.action) {
    case Action::kQuit:
      return Outcome::kLeave;
    case Action::kQuitIfEmpty:
      if (line.Line().text.empty()) return Outcome::kLeave;
      break;
    case Action::kRedraw:
      return Outcome::kRedraw;
    case Action::kSuspend:
      return Outcome::kSuspend;
    case Action::kInsert:
    case Action::kPaste:
      line.Type(key.text);
      break;
    case Action::kRecallOlder:
      line.RecallOlder();
      break;
    case Action::kRecallNewer:
      line.RecallNewer();
      break;
    case Action::kPageUp:
    case Action::kPageDown:
      ScrollHistory(session, key.action, page);
      break;
    case Action::kEscape:
      line.DropWaiting();
      break;
    case Action::kDeleteToStart:
      // Ctrl+U on an empty line drops the lines waiting, as Escape does.
      if (line.Line().text.empty()) line.DropWaiting();
      break;
    default:
      break;
  }
  line.Change([&](InputLine& input) { return Edit(input, key.action); });
  // A commit shows the newest entry: the history goes back to its top.
  if (line.History().size() != entries) session.history_top = 0;
  return Outcome::kGoOn;
}
