// The input line: its text and the caret, and the edits a person makes to it
// with keys. Every edit is a plain function; the input rules of the window
// (line_session.h) run on the text it leaves.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The window's input field holds at most 32,767 characters, and so does the
// line of every front end. The line holds UTF-8 and the engine reads one byte
// a character, so the limit counts characters. Typed and pasted characters
// past it are left out (and counted, so that a front end can say so); a line
// break always gets in, so Enter works on a full line.
inline constexpr std::size_t kInputLimit = 32767;

struct InputLine {
  std::string text;       // UTF-8 as typed (text_encoding.h: what a character is)
  std::size_t caret = 0;  // the byte of the character the caret stands before
};

// Each edit returns whether the text changed (moves of the caret don't), and
// works on whole characters.

struct Inserted {
  bool changed = false;
  std::size_t left_out = 0;  // characters that found no room
};

// Inserts at the caret and moves the caret past what went in. CR LF pairs
// are line breaks and always go in; other characters only while the line has
// room.
Inserted InsertAtCaret(InputLine& line, std::string_view bytes);
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
