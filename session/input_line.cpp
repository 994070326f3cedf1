#include "session/input_line.h"

#include <algorithm>
#include <utility>

#include "session/text_encoding.h"

namespace {

// Every byte that ends a word is ASCII, so the caret never stops inside a
// character when it moves by words.
bool IsWordByte(char c) {
  return std::string_view(" ^*/+-()=").find(c) == std::string_view::npos;
}

}  // namespace

Inserted InsertAtCaret(InputLine& line, std::string_view bytes) {
  std::size_t room = kInputLimit - std::min(kInputLimit, CountCharacters(line.text));
  std::string kept;
  std::size_t left_out = 0;
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
    } else {
      ++left_out;
    }
    at += length;
  }
  line.text.insert(line.caret, kept);
  line.caret += kept.size();
  return {!kept.empty(), left_out};
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
