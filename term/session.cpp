#include "term/session.h"

#include <algorithm>
#include <utility>

#include "eval/calculate.h"
#include "eval/text.h"
#include "session/calculate_typed.h"
#include "session/input_handling.h"

namespace {

// The terminal's line is UTF-8; the engine of this build answers it.
std::string CalculateLine(std::string_view line) {
  return CalculateTyped(line, Calculate);
}

// The input line changed: the window's rules decide, on the whole text,
// whether it is evaluated, committed or refused.
InputReaction ReactToInput(Session& session) {
  const std::string line = session.last_line;
  InputChange change =
      ReactToInputChange(session.input.text, session.last_line, session.last_result, CalculateLine);
  switch (change.reaction) {
    case InputReaction::kNothing:
    case InputReaction::kShowResult:  // last_result holds it already
      break;
    case InputReaction::kCommit:
      session.history.push_back(std::move(change.text));
      session.lines.push_back(line);
      session.history_top = 0;
      session.recalled = 0;
      session.left_behind.clear();
      session.input = {};
      break;
    case InputReaction::kRefuse:
      // The line break just inserted is taken out again; the caret stays
      // where it was.
      session.input.caret =
          RemoveLineBreaks(std::string_view(session.input.text).substr(0, session.input.caret))
              .size();
      session.input.text = std::move(change.text);
      break;
  }
  return change.reaction;
}

void Type(Session& session, std::string_view text) {
  if (InsertAtCaret(session.input, text)) ReactToInput(session);
}

Entered PressEnter(Session& session) {
  const bool blank = session.last_result.empty();
  InsertAtCaret(session.input, kLineBreak);
  if (ReactToInput(session) == InputReaction::kCommit) return Entered::kCommitted;
  return blank ? Entered::kBlank : Entered::kRefused;
}

// Typed or pasted text; after a refused line, until the keys pause, it waits
// behind it with the rest of the paste.
void TakeTyped(Session& session, std::string_view text) {
  if (session.holding) return session.waiting.Append(text);
  session.holding = TakeText(
      session.waiting, text, [&](std::string_view line) { Type(session, line); },
      [&] { return PressEnter(session); });
}

void Recall(Session& session, Action action) {
  const std::size_t count = session.lines.size();
  std::size_t& at = session.recalled;
  if (action == Action::kRecallOlder ? at == count : at == 0) return;
  session.left_behind[at] = session.input.text;
  at = action == Action::kRecallOlder ? at + 1 : at - 1;
  const auto kept = session.left_behind.find(at);
  if (ReplaceText(session.input,
                  kept != session.left_behind.end() ? kept->second : session.lines[count - at])) {
    ReactToInput(session);
  }
}

bool Edit(Session& session, const KeyEvent& key) {
  InputLine& line = session.input;
  switch (key.action) {
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
  const std::size_t entries = session.history.size();
  const std::size_t last_top = entries > page ? entries - page : 0;
  std::size_t& top = session.history_top;
  if (action == Action::kPageUp) top -= std::min(top, page);
  if (action == Action::kPageDown) top = std::min(top + page, last_top);
}

}  // namespace

Outcome Perform(Session& session, const KeyEvent& key, std::size_t page) {
  switch (key.action) {
    case Action::kQuit:
      return Outcome::kLeave;
    case Action::kQuitIfEmpty:
      if (session.input.text.empty()) return Outcome::kLeave;
      break;
    case Action::kRedraw:
      return Outcome::kRedraw;
    case Action::kSuspend:
      return Outcome::kSuspend;
    case Action::kInsert:
    case Action::kPaste:
      TakeTyped(session, key.text);
      return Outcome::kGoOn;
    case Action::kRecallOlder:
    case Action::kRecallNewer:
      Recall(session, key.action);
      return Outcome::kGoOn;
    case Action::kPageUp:
    case Action::kPageDown:
      ScrollHistory(session, key.action, page);
      return Outcome::kGoOn;
    case Action::kEscape:
      session.waiting.Clear();
      return Outcome::kGoOn;
    case Action::kDeleteToStart:
      // Ctrl+U on an empty line drops the lines waiting, as Escape does.
      if (session.input.text.empty()) session.waiting.Clear();
      break;
    default:
      break;
  }
  if (Edit(session, key)) ReactToInput(session);
  return Outcome::kGoOn;
}
