#include "term/line_edit.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include "session/text_encoding.h"

namespace {

// Every byte that ends a word is ASCII, so the caret never stops inside a
// character when it moves by words.
bool IsWordByte(char c) {
  return std::string_view(" ^*/+-()=").find(c) == std::string_view::npos;
}

}  // namespace

bool InsertAtCaret(InputLine& line, std::string_view bytes) {
  std::size_t room = kInputLimit - std::min(kInputLimit, CountCharacters(line.text));
  std::string kept;
  for (std::size_t at = 0; at < bytes.size();) {
    if (bytes.substr(at, 2) == "\r\n") {
      kept.append("\r\n");
      at += 2;
      continue;
    }
    const std::size_t length = DecodeUtf8(bytes, at).length;
    if (room > 0) {
      kept.append(bytes.substr(at, length));
      --room;
    }
    at += length;
  }
  line.text.insert(line.caret, kept);
  line.caret += kept.size();
  return !kept.empty();
}

bool MoveLeft(InputLine& line) {
  if (line.caret > 0) line.caret = PreviousCharacterStart(line.text, line.caret);
  return false;
}

bool MoveRight(InputLine& line) {
  if (line.caret < line.text.size()) line.caret += DecodeUtf8(line.text, line.caret).length;
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

bool MoveWordLeft(InputLine& line) {
  const std::string& text = line.text;
  std::size_t& at = line.caret;
  while (at > 0 && !IsWordByte(text[at - 1])) --at;
  while (at > 0 && IsWordByte(text[at - 1])) --at;
  return false;
}

bool MoveWordRight(InputLine& line) {
  const std::string& text = line.text;
  std::size_t& at = line.caret;
  while (at < text.size() && !IsWordByte(text[at])) ++at;
  while (at < text.size() && IsWordByte(text[at])) ++at;
  return false;
}

bool DeleteBefore(InputLine& line) {
  if (line.caret == 0) return false;
  const std::size_t start = PreviousCharacterStart(line.text, line.caret);
  line.text.erase(start, line.caret - start);
  line.caret = start;
  return true;
}

bool DeleteAt(InputLine& line) {
  if (line.caret >= line.text.size()) return false;
  line.text.erase(line.caret, DecodeUtf8(line.text, line.caret).length);
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

bool DeleteToWordStart(InputLine& line) {
  const std::size_t end = line.caret;
  MoveWordLeft(line);
  line.text.erase(line.caret, end - line.caret);
  return line.caret != end;
}

bool ReplaceText(InputLine& line, std::string text) {
  const bool changed = text != line.text;
  line.text = std::move(text);
  line.caret = line.text.size();
  return changed;
}

InputView ScrollToCaret(InputLine& line, std::size_t width) {
  assert(width > 0);
  const std::string_view text = line.text;
  const std::size_t caret = CountCharacters(text.substr(0, line.caret));
  const std::size_t length = caret + CountCharacters(text.substr(line.caret));
  const std::size_t margin = width >= 3 ? 1 : 0;  // a marker's column
  std::size_t& scroll = line.scroll;
  // Shortening the line pulls its end back to the right edge (the caret's
  // column after the last character included) rather than leaving blank columns.
  if (length + 1 < scroll + width) scroll = length + 1 > width ? length + 1 - width : 0;
  if (scroll > 0 && caret < scroll + margin) scroll = caret > margin ? caret - margin : 0;
  if (caret >= scroll + width) scroll = caret - width + 1;
  if (length > scroll + width && caret + margin >= scroll + width) {
    scroll = caret + margin + 1 - width;
  }
  // The first character shown lies less than a screen's width before the caret.
  std::size_t first = line.caret;
  for (std::size_t back = caret - scroll; back > 0; --back)
    first = PreviousCharacterStart(text, first);
  return {first, caret - scroll, margin > 0 && scroll > 0, margin > 0 && length > scroll + width};
}
