// The page's calculator as plain C functions over bytes in the module's
// memory: the only door between the page (page/page.js) and the shared
// engine and session rules. The page writes its texts, UTF-8, into the
// buffer, calls one of these, and reads back the parts of the outcome it is
// told changed. Plain exports rather than embind: a 32 KB answer crosses as
// one block of bytes instead of one JavaScript operation per byte.
//
// The page is a front end like the terminal: it holds the line session every
// front end shares (session/line_session.h) and turns the input's events
// into its verbs, so that the same actions leave the same history in both.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "eval/calculate.h"
#include "session/calculate_typed.h"
#include "session/line_session.h"

namespace {

// The parts of an outcome the page reads, by number; kHistory + i is the
// history's entry i, oldest first.
enum Part { kBeforeCaret, kAfterCaret, kAnswer, kCalculated, kHistory };

// What lumocalc_change and lumocalc_type report changed, as bits.
enum Changed { kInput = 1, kAnswerChanged = 2, kCut = 4 };

std::string CalculateLine(std::string_view line) {
  return CalculateTyped(line, Calculate);
}

LineSession session(CalculateLine);
std::string calculated;  // lumocalc_calculate's answer
std::string buffer;

std::string_view Buffered(std::size_t from, std::size_t size) {
  return std::string_view(buffer).substr(from, size);
}

// Carries out one action of the page. Each starts anew (nothing it types is
// held back as the rest of an earlier paste) but lumocalc_more, which goes on
// with the last. `input_set`: the page's input is to be set anew.
template <typename Step>
int Outcome(bool input_set, Step step, bool goes_on = false) {
  const std::string shown = session.Answer();
  const std::size_t left_out = session.LeftOut();
  if (!goes_on) session.EndBurst();
  step();
  return (input_set ? kInput : 0) | (session.Answer() != shown ? kAnswerChanged : 0) |
         (session.LeftOut() != left_out ? kCut : 0);
}

std::string_view PartText(int part) {
  const InputLine& line = session.Line();
  switch (part) {
    case kBeforeCaret:
      return std::string_view(line.text).substr(0, line.caret);
    case kAfterCaret:
      return std::string_view(line.text).substr(line.caret);
    case kAnswer:
      return session.Answer();
    case kCalculated:
      return calculated;
    default: {
      const auto entry = static_cast<std::size_t>(part - kHistory);
      const auto& history = session.History();
      return part >= kHistory && entry < history.size() ? history[entry] : std::string_view();
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
  const bool line_ends = text.find_first_of("\r\n") != std::string_view::npos;
  return Outcome(line_ends, [&] { session.SetLine(text, text.size()); });
}

// Text typed in place of the selection: a paste, a drop, or Enter (a line
// end). The buffer holds the input before the selection, the text and the
// input after the selection, one after the other.
EMSCRIPTEN_KEEPALIVE int lumocalc_type(std::size_t before, std::size_t typed, std::size_t after) {
  return Outcome(true, [&] {
    const std::string_view rest = Buffered(before + typed, after);
    session.SetLine(std::string(Buffered(0, before)).append(rest), before);
    session.Type(Buffered(before, typed));
  });
}

// More of the text of the last lumocalc_type, `size` bytes at the buffer's
// start: a long paste is taken a part at a time, so that the page never
// stops answering for long. A refused line holds the rest of it, as it
// holds the rest of a paste taken at once.
EMSCRIPTEN_KEEPALIVE int lumocalc_more(std::size_t size) {
  return Outcome(
      true, [&] { session.Type(Buffered(0, size)); }, true);
}

// Up and Down, or a history entry chosen: the line `to` brought back into
// the input (0 the line being typed, n the nth newest committed one).
EMSCRIPTEN_KEEPALIVE int lumocalc_recall(std::size_t to) {
  return Outcome(true, [&] { session.Recall(to); });
}
EMSCRIPTEN_KEEPALIVE std::size_t lumocalc_recalled() {
  return session.Recalled();
}

// The waiting lines that hold more than blanks, and dropping them all.
EMSCRIPTEN_KEEPALIVE std::size_t lumocalc_waiting() {
  return session.WaitingCount();
}
EMSCRIPTEN_KEEPALIVE void lumocalc_drop_waiting() {
  session.DropWaiting();
}
// How many entries the history holds; the page shows those it has not yet.
EMSCRIPTEN_KEEPALIVE std::size_t lumocalc_history_size() {
  return session.History().size();
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
