// Text that holds line ends, pasted or typed, is taken line by line as if
// each line were typed at the caret and Enter pressed: the lines are
// committed in turn, blank lines go by whole, and the first line that is refused
// stops the taking. It stays in the input with its answer, for correction,
// and the lines after it wait, neither lost nor glued to it, until it is
// committed. A line end is CR, LF or CR LF.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

struct PendingLine {
  std::string text;
  bool ended = false;  // false only for the last line of a text that stops without a line end
};

class WaitingLines {
 public:
  // Text that follows the lines waiting: its first line continues the last
  // waiting one when that has no line end yet.
  void Append(std::string_view text);
  // Text whose lines come before those waiting.
  void Prepend(std::string_view text);
  bool Empty() const { return lines_.empty(); }
  // The lines waiting that hold more than blanks.
  std::size_t Count() const;
  void Clear() { lines_.clear(); }
  PendingLine TakeFirst();

 private:
  std::deque<PendingLine> lines_;
};

// What Enter did to the line in the input.
enum class Entered { kCommitted, kBlank, kRefused };

using TypeText = std::function<void(std::string_view text)>;  // at the caret, evaluated at once
using PressEnter = std::function<Entered()>;

// Takes the waiting lines first to last: each is typed, and Enter pressed
// after each that ends. Stops at a line without a line end (it stays in the
// input as typed) or at a refused one; returns true for the latter.
bool TakeWaitingLines(WaitingLines& waiting, const TypeText& type, const PressEnter& enter);

// Text typed or pasted at the caret: its lines come before those already
// waiting, which follow once all of its lines are committed.
bool TakeText(WaitingLines& waiting, std::string_view text, const TypeText& type,
              const PressEnter& enter);
