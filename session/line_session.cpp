#include "session/line_session.h"

#include <cassert>
#include <utility>

#include "session/text_encoding.h"

LineSession::LineSession(Calculator calculate) : calculate_(calculate) {
  assert(calculate != nullptr);
}

// The line changed: the window's rules decide, on the whole text, whether it
// is evaluated, committed or refused.
InputReaction LineSession::React() {
  const std::string line = last_line_;
  InputChange change = ReactToInputChange(line_.text, last_line_, last_result_, calculate_);
  switch (change.reaction) {
    case InputReaction::kNothing:
    case InputReaction::kShowResult:  // last_result_ holds it already
      break;
    case InputReaction::kCommit:
      history_.push_back(std::move(change.text));
      lines_.push_back(line);
      recalled_ = 0;
      left_behind_.clear();
      line_ = {};
      break;
    case InputReaction::kRefuse:
      // The line break just inserted is taken out again; the caret stays
      // where it was.
      line_.caret = RemoveLineBreaks(std::string_view(line_.text).substr(0, line_.caret)).size();
      line_.text = std::move(change.text);
      break;
  }
  // Bytes that are not UTF-8 can join into one character when what stood
  // between them goes (a lead byte, then a continuation byte) or when what
  // comes in completes them: the caret goes after that character, never
  // inside it.
  if (const std::size_t start = CharacterStart(line_.text, line_.caret); start < line_.caret) {
    line_.caret = start + DecodeUtf8(line_.text, start).length;
  }
  return change.reaction;
}

void LineSession::TypeLine(std::string_view text) {
  const Inserted inserted = InsertAtCaret(line_, text);
  left_out_ += inserted.left_out;
  if (inserted.changed) React();
}

Entered LineSession::PressEnter() {
  const bool blank = last_result_.empty();
  InsertAtCaret(line_, kLineBreak);
  if (React() == InputReaction::kCommit) return Entered::kCommitted;
  return blank ? Entered::kBlank : Entered::kRefused;
}

void LineSession::Type(std::string_view text) {
  if (holding_) return waiting_.Append(text);
  holding_ = TakeText(
      waiting_, text, [this](std::string_view line) { TypeLine(line); },
      [this] { return PressEnter(); });
}

void LineSession::TypeOver(std::size_t from, std::size_t to, std::string_view text) {
  assert(from <= to && to <= line_.text.size());
  line_.caret = from;
  if (from < to) {
    line_.text.erase(from, to - from);
    React();  // the selection gone
  }
  Type(text);
}

void LineSession::SetLine(std::string_view text, std::size_t caret) {
  assert(caret <= text.size());
  if (text.find_first_of("\r\n") != std::string_view::npos) {
    // A field that holds one line never holds a line end: the text came in
    // whole, as a paste into an empty line would.
    line_ = {};
    React();
    return Type(text);
  }
  line_ = {std::string(text), caret};
  React();
}

void LineSession::RecallNewer() {
  if (recalled_ > 0) Recall(recalled_ - 1);
}

void LineSession::Recall(std::size_t to) {
  if (to > lines_.size()) return;
  left_behind_[recalled_] = line_.text;
  recalled_ = to;
  const auto kept = left_behind_.find(to);
  assert(to > 0 || kept != left_behind_.end());  // the line being typed was left behind
  if (ReplaceText(line_, kept != left_behind_.end() ? kept->second : lines_[lines_.size() - to])) {
    React();
  }
}
