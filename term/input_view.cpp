#include "term/input_view.h"

#include <cassert>
#include <string_view>

#include "session/text_encoding.h"

InputView ScrollToCaret(const InputLine& line, std::size_t& scroll, std::size_t width) {
  assert(width > 0);
  const std::string_view text = line.text;
  const std::size_t caret = CountCharacters(text.substr(0, line.caret));
  const std::size_t length = caret + CountCharacters(text.substr(line.caret));
  const std::size_t margin = width >= 3 ? 1 : 0;  // a marker's column
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
