#include "term/line_edit.h"

#include <algorithm>

bool InsertAtCaret(InputLine& line, std::string_view bytes) {
  std::size_t room = kInputLimit - std::min(kInputLimit, line.text.size());
  std::string kept;
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    if (bytes.substr(at, 2) == "\r\n") {
      kept.append("\r\n");
      ++at;
    } else if (room > 0) {
      kept.push_back(bytes[at]);
      --room;
    }
  }
  line.text.insert(line.caret, kept);
  line.caret += kept.size();
  return !kept.empty();
}

bool MoveLeft(InputLine& line) {
  if (line.caret > 0) --line.caret;
  return false;
}

bool MoveRight(InputLine& line) {
  if (line.caret < line.text.size()) ++line.caret;
  return false;
}

bool MoveHome(InputLine& line) {
  line.caret = 0;
  return false;
}

bool MoveEnd(InputLine& line) {
  line.caret = line.text.size();
  return false;
}

bool DeleteBefore(InputLine& line) {
  if (line.caret == 0) return false;
  line.text.erase(--line.caret, 1);
  return true;
}

bool DeleteAt(InputLine& line) {
  if (line.caret >= line.text.size()) return false;
  line.text.erase(line.caret, 1);
  return true;
}

bool DeleteToStart(InputLine& line) {
  if (line.caret == 0) return false;
  line.text.erase(0, line.caret);
  line.caret = 0;
  return true;
}

bool DeleteToEnd(InputLine& line) {
  if (line.caret >= line.text.size()) return false;
  line.text.erase(line.caret);
  return true;
}

bool DeleteWordBefore(InputLine& line) {
  std::size_t start = line.caret;
  while (start > 0 && line.text[start - 1] == ' ') --start;
  while (start > 0 && line.text[start - 1] != ' ') --start;
  if (start == line.caret) return false;
  line.text.erase(start, line.caret - start);
  line.caret = start;
  return true;
}

void ScrollToCaret(InputLine& line, std::size_t width) {
  if (width == 0) return;
  // Shortening the line pulls its end back to the right edge (the caret's
  // column after the last character included) rather than leaving blank columns.
  const std::size_t columns_needed = line.text.size() + 1;
  if (columns_needed < line.scroll + width) {
    line.scroll = columns_needed > width ? columns_needed - width : 0;
  }
  if (line.caret < line.scroll) line.scroll = line.caret;
  if (line.caret >= line.scroll + width) line.scroll = line.caret - width + 1;
}
