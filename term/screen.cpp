#include "term/screen.h"

#include <curses.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace {

constexpr int kInputRow = 0;
constexpr int kResultRow = 1;
constexpr int kRuleRow = 2;
constexpr int kFirstHistoryRow = 3;

// A long result or history entry shows its end, where the value is; this
// marks the columns cut off before it.
constexpr char kCutMarker = '<';

// The rule above the history is plain "-": line-drawing characters depend on
// the terminal's character sets, and some show them as letters.
constexpr chtype kRule = '-';

// One column per byte: the texts are single-byte, so a byte that isn't a
// printable ASCII character (a pasted tab, a byte of a UTF-8 character) is
// shown as "?" rather than handed to the terminal.
char Shown(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x20 && byte < 0x7f ? c : '?';
}

std::size_t Width() {
  return static_cast<std::size_t>(std::max(COLS, 0));
}

void DrawRow(int row, std::string_view text) {
  std::string cells(text.size(), ' ');
  std::transform(text.begin(), text.end(), cells.begin(), Shown);
  mvaddnstr(row, 0, cells.data(), static_cast<int>(cells.size()));
  // A full row leaves the cursor on the next one: nothing to clear then.
  if (cells.size() < Width()) clrtoeol();
}

void DrawTail(int row, std::string_view text) {
  const std::size_t width = Width();
  if (text.size() <= width) return DrawRow(row, text);
  std::string cut(1, kCutMarker);
  cut.append(text.substr(text.size() - (width - 1)));
  DrawRow(row, cut);
}

}  // namespace

std::size_t HistoryRows() {
  return LINES > kFirstHistoryRow ? static_cast<std::size_t>(LINES - kFirstHistoryRow) : 0;
}

void DrawScreen(Session& session) {
  const std::size_t width = Width();
  if (width == 0 || LINES <= 0) return;
  InputLine& input = session.input;
  ScrollToCaret(input, width);
  DrawRow(kInputRow, std::string_view(input.text).substr(input.scroll, width));

  if (LINES > kResultRow) {
    attron(A_BOLD);
    DrawTail(kResultRow, session.last_result);
    attroff(A_BOLD);
  }
  if (LINES > kRuleRow) mvhline(kRuleRow, 0, kRule, COLS);

  const std::size_t rows = HistoryRows();
  const std::size_t entries = session.history.size();
  session.history_top = std::min(session.history_top, entries > rows ? entries - rows : 0);
  for (std::size_t shown = 0; shown < rows; ++shown) {
    const int row = kFirstHistoryRow + static_cast<int>(shown);
    const std::size_t newer = session.history_top + shown;  // entries newer than this one
    if (newer < entries) {
      DrawTail(row, session.history[entries - 1 - newer]);
    } else {
      move(row, 0);
      clrtoeol();
    }
  }
  move(kInputRow, static_cast<int>(input.caret - input.scroll));
}
