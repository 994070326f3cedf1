// STAND-IN: the page's copy of the single-byte text conversion, until the
// shared session folder has the terminal's; the lead replaces this file (and
// its .cpp) with that one and points web/exports.cpp at it.
//
// The engine reads the window's single-byte text, whatever the front end
// shows: here Windows-1252, with its five unassigned bytes taken as the C1
// controls of the same number, so that all 256 bytes and 256 characters
// correspond one to one. A line gets the same answer in every front end only
// if every front end hands the engine the same bytes for it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct SingleByteText {
  std::string bytes;
  std::size_t lacking = 0;  // characters the single-byte text has no byte for
};

// The single-byte text of a UTF-8 text. A character the single-byte text
// lacks (and any byte that is not UTF-8) becomes `in_place_of_lacking`: never
// a byte that would read as another character.
SingleByteText ToSingleByte(std::string_view utf8, char in_place_of_lacking);

// The UTF-8 text of a single-byte text.
std::string ToUtf8(std::string_view bytes);
