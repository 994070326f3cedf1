#include "session/paste_lines.h"

#include <algorithm>
#include <utility>

namespace {

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

// Nothing but what the engine reads as blanks: spaces and the no-break
// spaces, U+00A0 and U+202F in UTF-8.
bool IsBlankLine(std::string_view line) {
  for (std::size_t at = 0; at < line.size();) {
    if (line[at] == ' ') {
      ++at;
    } else if (line.substr(at, 2) == "\xC2\xA0") {
      at += 2;
    } else if (line.substr(at, 3) == "\xE2\x80\xAF") {
      at += 3;
    } else {
      return false;
    }
  }
  return true;
}

// Adds the lines of `text` to `lines`. An empty line after a line end is left
// out: Enter on an empty input after a commit or a blank line changes
// nothing, so a run of line ends is one (CR LF among them), and a paste of
// nothing but line ends holds no more than one.
void AddLines(std::deque<PendingLine>& lines, std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const auto end = std::find_if(text.begin() + at, text.end(), IsLineEnd);
    const std::size_t stop = static_cast<std::size_t>(end - text.begin());
    const bool ended = stop < text.size();
    const std::string_view line = text.substr(at, stop - at);
    if (!lines.empty() && !lines.back().ended) {
      lines.back().text.append(line);
      lines.back().ended = ended;
    } else if (!line.empty() || (ended && lines.empty())) {
      lines.push_back({std::string(line), ended});
    }
    at = stop + 1;
  }
}

}  // namespace

void WaitingLines::Append(std::string_view text) {
  AddLines(lines_, text);
}

void WaitingLines::Prepend(std::string_view text) {
  std::deque<PendingLine> lines;
  AddLines(lines, text);
  lines.insert(lines.end(), std::make_move_iterator(lines_.begin()),
               std::make_move_iterator(lines_.end()));
  lines_ = std::move(lines);
}

std::size_t WaitingLines::Count() const {
  return static_cast<std::size_t>(std::count_if(
      lines_.begin(), lines_.end(), [](const auto& line) { return !IsBlankLine(line.text); }));
}

PendingLine WaitingLines::TakeFirst() {
  PendingLine first = std::move(lines_.front());
  lines_.pop_front();
  return first;
}

bool TakeWaitingLines(WaitingLines& waiting, const TypeText& type, const PressEnter& enter) {
  while (!waiting.Empty()) {
    const PendingLine line = waiting.TakeFirst();
    // A blank line goes by whole: typed, its blanks would stay in the input
    // and glue onto the next line.
    if (!line.ended || !IsBlankLine(line.text)) type(line.text);
    if (!line.ended) return false;
    if (enter() == Entered::kRefused) return true;
  }
  return false;
}

bool TakeText(WaitingLines& waiting, std::string_view text, const TypeText& type,
              const PressEnter& enter) {
  if (text.empty()) return false;  // an empty paste: nothing of it to follow
  waiting.Prepend(text);
  return TakeWaitingLines(waiting, type, enter);
}
