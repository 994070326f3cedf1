#include "term/session.h"

#include <algorithm>

#include "eval/calculate.h"
#include "session/input_handling.h"

namespace {

// The input field changed: the window's rules decide, on the whole text,
// whether it is evaluated, committed or refused.
void ReactToInput(Session& session) {
  InputChange change =
      ReactToInputChange(session.input.text, session.last_line, session.last_result, Calculate);
  switch (change.reaction) {
    case InputReaction::kNothing:
    case InputReaction::kShowResult:  // last_result holds it already
      break;
    case InputReaction::kCommit:
      session.history.push_back(std::move(change.text));
      session.history_top = 0;
      session.input = {};
      break;
    case InputReaction::kRefuse:
      // The line breaks just inserted are taken out again; the caret stays
      // after what else went in.
      session.input.caret =
          RemoveLineBreaks(std::string_view(session.input.text).substr(0, session.input.caret))
              .size();
      session.input.text = std::move(change.text);
      break;
  }
}

bool Edit(Session& session, const KeyEvent& key) {
  InputLine& line = session.input;
  switch (key.action) {
    case Action::kInsert:
    case Action::kPaste:
      return InsertAtCaret(line, key.text);
    case Action::kLineBreak:
      return InsertAtCaret(line, kTerminalLineBreak);
    case Action::kLeft:
      return MoveLeft(line);
    case Action::kRight:
      return MoveRight(line);
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
    case Action::kPageUp:
    case Action::kPageDown:
    case Action::kQuit:
    case Action::kNone:
      return false;
  }
  return false;
}

void ScrollHistory(Session& session, Action action, std::size_t page) {
  const std::size_t entries = session.history.size();
  const std::size_t last_top = entries > page ? entries - page : 0;
  std::size_t& top = session.history_top;
  if (action == Action::kPageUp) top -= std::min(top, page);
  if (action == Action::kPageDown) top = std::min(top + page, last_top);
}

}  // namespace

Outcome Perform(Session& session, const KeyEvent& key, std::size_t page) {
  if (key.action == Action::kQuit) return Outcome::kLeave;
  if (key.action == Action::kQuitIfEmpty && session.input.text.empty()) return Outcome::kLeave;
  ScrollHistory(session, key.action, page);
  if (Edit(session, key)) ReactToInput(session);
  return Outcome::kGoOn;
}
