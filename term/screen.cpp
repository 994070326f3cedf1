#include "term/screen.h"

#include <curses.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <string_view>

#include "session/text_encoding.h"
#include "term/input_view.h"

namespace {

constexpr int kInputRow = 0;
constexpr int kResultRow = 1;
constexpr int kRuleRow = 2;
constexpr int kFirstHistoryRow = 3;

// A long result or history entry shows its end, where the value is, behind
// "<"; an input line scrolled sideways shows "<" and ">" where it goes on.
constexpr wchar_t kCutMarker = L'<';
constexpr wchar_t kMoreMarker = L'>';

// The rule above the history is plain "-": line-drawing characters depend on
// the terminal's character sets, and some show them as letters.
constexpr char kRule = '-';

// One column a character: one the terminal shows in a single column is shown
// as typed; any other (a control character such as a pasted tab, a byte that
// is not well-formed UTF-8, a wide or combining character) as a "?" in
// reverse video, so that it is seen and can be deleted.
constexpr wchar_t kStandIn = L'?';

bool ShownAsTyped(const Utf8Character& character) {
  const char32_t code = character.code;
  if (!character.well_formed || code < 0x20 || (code >= 0x7f && code < 0xa0)) return false;
  return wcwidth(static_cast<wchar_t>(code)) == 1;
}

std::size_t Width() {
  return static_cast<std::size_t>(std::max(COLS, 0));
}

// Draws up to `count` characters of `text` from byte `from` on, from column
// 0, and blanks the rest of the row.
void DrawText(int row, std::string_view text, std::size_t from, std::size_t count) {
  move(row, 0);
  std::size_t drawn = 0;
  for (std::size_t at = from; at < text.size() && drawn < count; ++drawn) {
    const Utf8Character character = DecodeUtf8(text, at);
    at += character.length;
    if (ShownAsTyped(character)) {
      const auto cell = static_cast<wchar_t>(character.code);
      addnwstr(&cell, 1);
    } else {
      attron(A_REVERSE);
      addnwstr(&kStandIn, 1);
      attroff(A_REVERSE);
    }
  }
  // A full row leaves the cursor on the next one: nothing to clear then.
  if (drawn < Width()) clrtoeol();
}

// The text's last characters, found from its end: an entry may be as long as
// the input line, and only a screen's width of it is shown.
void DrawTail(int row, std::string_view text) {
  const std::size_t width = Width();
  std::size_t start = text.size();
  std::size_t count = 0;
  for (; start > 0 && count <= width; ++count) start = PreviousCharacterStart(text, start);
  if (count <= width) return DrawText(row, text, 0, width);
  // Too long: its last `width` characters, the first of them under the marker.
  DrawText(row, text, start + DecodeUtf8(text, start).length, width);
  mvaddnwstr(row, 0, &kCutMarker, 1);
}

void DrawInput(const InputLine& input, const InputView& view) {
  DrawText(kInputRow, input.text, view.first, Width());
  if (view.more_left) mvaddnwstr(kInputRow, 0, &kCutMarker, 1);
  if (view.more_right) mvaddnwstr(kInputRow, static_cast<int>(Width() - 1), &kMoreMarker, 1);
}

// The rule, with what it has to tell: the lines of a paste that wait behind
// a refused line, and the history entries scrolled off above and below.
void DrawRule(const Session& session) {
  const std::size_t width = Width();
  std::string rule(width, kRule);
  const std::size_t waiting = session.line.WaitingCount();
  std::string left;
  if (waiting > 0) {
    left = " +" + std::to_string(waiting) + (waiting == 1 ? " more line " : " more lines ");
  }
  const std::size_t entries = session.line.History().size();
  const std::size_t below = session.history_top + HistoryRows();
  std::string right;
  if (session.history_top > 0) right = " " + std::to_string(session.history_top) + " newer ";
  if (entries > below) {
    right += (right.empty() ? " " : "- ") + std::to_string(entries - below) + " older ";
  }
  constexpr std::size_t kIndent = 2;
  if (!left.empty() && kIndent + left.size() <= width) rule.replace(kIndent, left.size(), left);
  const std::size_t taken = left.empty() ? 0 : kIndent + left.size();
  if (!right.empty() && taken + right.size() <= width) {
    const std::size_t indent = std::min(kIndent, width - taken - right.size());
    rule.replace(width - indent - right.size(), right.size(), right);
  }
  mvaddnstr(kRuleRow, 0, rule.data(), static_cast<int>(rule.size()));
}

}  // namespace

std::size_t HistoryRows() {
  return LINES > kFirstHistoryRow ? static_cast<std::size_t>(LINES - kFirstHistoryRow) : 0;
}

void FollowCaret(Session& session) {
  if (Width() > 0) ScrollToCaret(session.line.Line(), session.scroll, Width());
}

void DrawScreen(Session& session) {
  const std::size_t width = Width();
  if (width == 0 || LINES <= 0) return;
  const InputView input = ScrollToCaret(session.line.Line(), session.scroll, width);
  DrawInput(session.line.Line(), input);

  if (LINES > kResultRow) {
    attron(A_BOLD);
    DrawTail(kResultRow, session.line.Answer());
    attroff(A_BOLD);
  }

  const std::size_t rows = HistoryRows();
  const std::size_t entries = session.line.History().size();
  session.history_top = std::min(session.history_top, entries > rows ? entries - rows : 0);
  if (LINES > kRuleRow) DrawRule(session);
  for (std::size_t shown = 0; shown < rows; ++shown) {
    const int row = kFirstHistoryRow + static_cast<int>(shown);
    const std::size_t newer = session.history_top + shown;  // entries newer than this one
    if (newer < entries) {
      DrawTail(row, session.line.History()[entries - 1 - newer]);
    } else {
      move(row, 0);
      clrtoeol();
    }
  }
  move(kInputRow, static_cast<int>(input.caret_column));
}
