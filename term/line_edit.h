// The input line as the terminal edits it: its text, the caret and how far
// the line is scrolled sideways. Every edit is a plain function; the input
// rules of the window run on the text it leaves.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The window's input field holds at most 32,767 characters, and so does this
// line. Typed and pasted characters past it are dropped; a line break always
// gets in, so Enter works on a full line.
inline constexpr std::size_t kInputLimit = 32767;

struct InputLine {
  std::string text;        // one byte a character, as the window's field holds it
  std::size_t caret = 0;   // the byte the caret stands before; text.size() at the end
  std::size_t scroll = 0;  // the first byte shown
};

// Each edit returns whether the text changed (moves of the caret don't).

// Inserts at the caret and moves the caret past what went in. CR LF pairs
// are line breaks and always go in; other bytes only while the line has room.
bool InsertAtCaret(InputLine& line, std::string_view bytes);
bool MoveLeft(InputLine& line);
bool MoveRight(InputLine& line);
bool MoveHome(InputLine& line);
bool MoveEnd(InputLine& line);
bool DeleteBefore(InputLine& line);      // Backspace
bool DeleteAt(InputLine& line);          // Delete
bool DeleteToStart(InputLine& line);     // Ctrl+U
bool DeleteToEnd(InputLine& line);       // Ctrl+K
bool DeleteWordBefore(InputLine& line);  // Ctrl+W: blanks, then the word before them

// Scrolls the line sideways as little as needed for the caret to stand on one
// of `width` columns, and no further than the end of the line needs.
void ScrollToCaret(InputLine& line, std::size_t width);
