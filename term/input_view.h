// How the input line stands on the screen's columns: scrolled sideways so
// that the caret is always on the screen.
#pragma once

#include <cstddef>

#include "session/input_line.h"

struct InputView {
  std::size_t first = 0;  // the byte of the first character shown
  std::size_t caret_column = 0;
  bool more_left = false;   // the first column shows that the line goes on
  bool more_right = false;  // and the last
};

// Scrolls the line sideways as little as needed for the caret to stand on one
// of `width` (> 0) columns, and no further than the end of the line needs;
// `scroll` is how many characters are scrolled off to the left, kept from
// one picture to the next. From 3 columns on, the first column shows a marker
// when the line is scrolled and the last when more follows: the caret keeps
// off them.
InputView ScrollToCaret(const InputLine& line, std::size_t& scroll, std::size_t width);
