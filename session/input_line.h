// The input line as the terminal edits it: its text, the caret and how far
// the line is scrolled sideways. Every edit is a plain function; the input
// rules of the window run on the text it leaves.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The window's input field holds at most 32,767 characters, and so does this
// line. The line holds UTF-8 and the engine reads one byte a character, so the
// limit counts characters. Typed and pasted characters past it are dropped; a
// line break always gets in, so Enter works on a full line.
inline constexpr std::size_t kInputLimit = 32767;

struct InputLine {
  std::string text;        // UTF-8 as typed (text_encoding.h: what a character is)
  std::size_t caret = 0;   // the byte of the character the caret stands before
  std::size_t scroll = 0;  // characters scrolled off to the left
};

// Each edit returns whether the text changed (moves of the caret don't), and
// works on whole characters.

// Inserts at the caret and moves the caret past what went in. CR LF pairs
// are line breaks and always go in; other characters only while the line has
// room.
bool InsertAtCaret(InputLine& line, std::string_view bytes);
bool MoveLeft(InputLine& line);
bool MoveRight(InputLine& line);
bool MoveHome(InputLine& line);
bool MoveEnd(InputLine& line);
// A word is a number or a name: what stands between blanks, operators and
// parentheses. Left: to the start of the word before the caret; right: to the
// end of the word after it.
bool MoveWordLeft(InputLine& line);
bool MoveWordRight(InputLine& line);
bool DeleteBefore(InputLine& line);       // Backspace
bool DeleteAt(InputLine& line);           // Delete
bool DeleteToStart(InputLine& line);      // Ctrl+U
bool DeleteToEnd(InputLine& line);        // Ctrl+K
bool DeleteWordBefore(InputLine& line);   // Ctrl+W: blanks, then the word before them
bool DeleteToWordStart(InputLine& line);  // Alt+Backspace: back to where MoveWordLeft goes
// The whole text replaced, the caret at its end (a line recalled).
bool ReplaceText(InputLine& line, std::string text);

// How the line stands on the screen's columns.
struct InputView {
  std::size_t first = 0;  // the byte of the first character shown
  std::size_t caret_column = 0;
  bool more_left = false;   // the first column shows that the line goes on
  bool more_right = false;  // and the last
};

// Scrolls the line sideways as little as needed for the caret to stand on one
// of `width` (> 0) columns, and no further than the end of the line needs.
// From 3 columns on, the first column shows a marker when the line is
// scrolled and the last when more follows: the caret keeps off them.
InputView ScrollToCaret(InputLine& line, std::size_t width);
