// The page's calculator as plain C functions over bytes in the module's
// memory: the only door between the page (page/page.js) and the shared
// engine and session rules. The page writes its texts, UTF-8, into the
// buffer, calls one of these, and reads back the parts of the outcome it is
// told changed. Plain exports rather than embind: a 32 KB answer crosses as
// one block of bytes instead of one JavaScript operation per byte.
//
// The page is a front end like the terminal: the input's text in UTF-8,
// answered by CalculateTyped, every change of it decided by
// ReactToInputChange, and text with line ends (a paste, a drop, Enter) taken
// line by line by the shared paste rule, so that the same paste leaves the
// same history in both.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "eval/calculate.h"
#include "session/calculate_typed.h"
#include "session/input_handling.h"
#include "session/paste_lines.h"
#include "session/text_encoding.h"

namespace {

// The window's field holds at most 32,767 characters, and so does the page's
// input, counted in characters of the engine's text, one byte each (the
// input's own maxlength counts UTF-16 units, and only what is typed).
constexpr std::size_t kLineLimit = 32767;

// The parts of an outcome the page reads, by number.
enum Part { kBeforeCaret, kAfterCaret, kAnswer, kCalculated, kCommitted };

// What lumocalc_change and lumocalc_type report changed, as bits.
enum Changed { kInput = 1, kAnswerChanged = 2, kCut = 4 };

struct Page {
  std::string input;  // UTF-8, as the page's input holds it
  std::size_t caret = 0;
  std::string last_line;    // the window's LastLine
  std::string last_result;  // the window's LastResult: the answer shown
  WaitingLines waiting;     // lines of a paste behind a refused line
};

// What changed on the page besides the answer.
struct View {
  bool input_set = false;              // the page's input is set to Page::input
  std::vector<std::string> committed;  // entries for the history, oldest first
  bool cut = false;                    // a pasted line was longer than the input holds
};

Page page;
View view;
std::string calculated;  // lumocalc_calculate's answer
std::string buffer;

std::string_view Buffered(std::size_t from, std::size_t size) {
  return std::string_view(buffer).substr(from, size);
}

std::string CalculateLine(std::string_view line) {
  return CalculateTyped(line, Calculate);
}

// The input changed: the window's rules decide, on the whole text, whether it
// is evaluated, committed or refused.
InputReaction React() {
  InputChange change =
      ReactToInputChange(page.input, page.last_line, page.last_result, CalculateLine);
  if (change.reaction == InputReaction::kCommit) {
    view.committed.push_back(std::move(change.text));
    page.input.clear();
    page.caret = 0;
  } else if (change.reaction == InputReaction::kRefuse) {
    // The line break just inserted is taken out again; the caret stays.
    page.caret = RemoveLineBreaks(std::string_view(page.input).substr(0, page.caret)).size();
    page.input = std::move(change.text);
  }
  return change.reaction;
}

// A line of the paste rule typed at the caret, as far as the input has room.
void Type(std::string_view text) {
  std::size_t room = kLineLimit - std::min(kLineLimit, CountCharacters(page.input));
  std::size_t kept = 0;
  for (; kept < text.size() && room > 0; --room) kept += DecodeUtf8(text, kept).length;
  view.cut = view.cut || kept < text.size();
  if (kept == 0) return;
  page.input.insert(page.caret, text.substr(0, kept));
  page.caret += kept;
  React();
}

// A line break always gets in, so Enter works on a full line.
Entered PressEnter() {
  const bool blank = page.last_result.empty();
  page.input.insert(page.caret, kLineBreak);
  page.caret += kLineBreak.size();
  if (React() == InputReaction::kCommit) return Entered::kCommitted;
  return blank ? Entered::kBlank : Entered::kRefused;
}

// `typed` replaces the selection between `before` and `after`.
void TypeAtSelection(std::string_view before, std::string_view typed, std::string_view after) {
  page.input = std::string(before).append(after);
  page.caret = before.size();
  React();  // the selection gone, if there was one
  TakeText(page.waiting, typed, Type, PressEnter);
  view.input_set = true;
}

// Starts an outcome; `step` changes the page.
template <typename Step>
int Outcome(Step step) {
  const std::string shown = page.last_result;
  view = {};
  step();
  const bool answer_changed = page.last_result != shown;
  return (view.input_set ? kInput : 0) | (answer_changed ? kAnswerChanged : 0) |
         (view.cut ? kCut : 0);
}

std::string_view PartText(int part) {
  switch (part) {
    case kBeforeCaret:
      return std::string_view(page.input).substr(0, page.caret);
    case kAfterCaret:
      return std::string_view(page.input).substr(page.caret);
    case kAnswer:
      return page.last_result;
    case kCalculated:
      return calculated;
    default: {
      const auto entry = static_cast<std::size_t>(part - kCommitted);
      return part >= kCommitted && entry < view.committed.size() ? view.committed[entry]
                                                                 : std::string_view();
    }
  }
}

}  // namespace

extern "C" {

// Room for `size` bytes of texts for the next call; the pointer holds until
// the next lumocalc_buffer.
EMSCRIPTEN_KEEPALIVE char* lumocalc_buffer(std::size_t size) {
  buffer.resize(size);
  return buffer.data();
}

// The input's whole text, `size` bytes at the buffer's start, after an edit
// (typing, deleting, cutting, undoing). A text with line ends, which an input
// field never holds, is taken as typed into an empty input.
EMSCRIPTEN_KEEPALIVE int lumocalc_change(std::size_t size) {
  const std::string_view text = Buffered(0, size);
  if (text.find_first_of("\r\n") != std::string_view::npos) {
    return Outcome([&] { TypeAtSelection({}, text, {}); });
  }
  return Outcome([&] {
    page.input = text;
    page.caret = text.size();
    React();
  });
}

// Text typed in place of the selection: a paste, a drop, or Enter (a line
// end). The buffer holds the input before the selection, the text and the
// input after the selection, one after the other.
EMSCRIPTEN_KEEPALIVE int lumocalc_type(std::size_t before, std::size_t typed, std::size_t after) {
  return Outcome([&] {
    TypeAtSelection(Buffered(0, before), Buffered(before, typed), Buffered(before + typed, after));
  });
}

// The waiting lines that hold more than blanks, and dropping them all.
EMSCRIPTEN_KEEPALIVE std::size_t lumocalc_waiting() {
  return page.waiting.Count();
}
EMSCRIPTEN_KEEPALIVE void lumocalc_drop_waiting() {
  page.waiting.Clear();
}
EMSCRIPTEN_KEEPALIVE std::size_t lumocalc_committed() {
  return view.committed.size();
}

// Calculate itself on `size` single-byte bytes at the buffer's start, its
// answer in part kCalculated: for comparing the module with the native
// programs, and for measuring it.
EMSCRIPTEN_KEEPALIVE std::size_t lumocalc_calculate(std::size_t size) {
  calculated = Calculate(Buffered(0, size));
  return calculated.size();
}

EMSCRIPTEN_KEEPALIVE const char* lumocalc_part(int part) {
  return PartText(part).data();
}
EMSCRIPTEN_KEEPALIVE std::size_t lumocalc_part_size(int part) {
  return PartText(part).size();
}

}  // extern "C"
