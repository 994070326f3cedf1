// The two encodings a line passes through: UTF-8, as a terminal or a web page
// sends and shows it, and the single-byte text of the window's input field,
// which is what the engine reads. That field is an ANSI edit control and
// Western Windows runs it in code page 1252 (Latin-1 with the typographic
// characters, the euro sign among them, in 0x80..0x9F).
//
// A UTF-8 text is read as characters: each well-formed sequence is one, and
// every byte that is not part of one (a stray continuation byte, a sequence
// cut short, an overlong form, a surrogate, a value past U+10FFFF) is one
// character of its own, so that such bytes are kept, counted and shown rather
// than lost.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

struct Utf8Character {
  char32_t code = 0;       // the code point; the byte itself when not well formed
  std::size_t length = 1;  // bytes
  bool well_formed = false;
};

// The character that starts at byte `at` (< text.size()).
Utf8Character DecodeUtf8(std::string_view text, std::size_t at);

// Where the character that ends at byte `at` (> 0) starts.
std::size_t PreviousCharacterStart(std::string_view text, std::size_t at);

std::size_t CountCharacters(std::string_view text);

// Where the character that byte `at` (<= text.size()) belongs to starts:
// `at` itself when a character starts there, and at the text's end.
std::size_t CharacterStart(std::string_view text, std::size_t at);

// How many bytes at the end of `text` begin a character that further bytes
// could still complete: they are held back until the rest comes.
std::size_t UnfinishedUtf8Tail(std::string_view text);

// Whether every byte is below 0x80: such a text is the same in UTF-8 and in
// the single-byte text, character for character.
bool IsAscii(std::string_view text);

// The single-byte text of a UTF-8 line, or nothing when the line holds a
// character that text has not, or a byte that is not well-formed UTF-8: such
// a line is refused rather than read as some other line. U+00A0 and U+202F,
// the no-break spaces numbers are grouped with, are both the byte 0xA0.
std::optional<std::string> Windows1252FromUtf8(std::string_view utf8);

// Every byte of the single-byte text as UTF-8; the five bytes code page 1252
// leaves undefined stand for the C1 controls of the same value, as Windows
// converts them.
std::string Utf8FromWindows1252(std::string_view bytes);
