// The page's calculator as plain C functions over bytes in the module's
// memory: the only door between the page (page/page.js) and the shared
// engine and session rules. The page writes its texts, UTF-8, into the
// buffer, calls one of these, and reads back the parts of the outcome it is
// told changed. Plain exports rather than embind: a 32 KB answer crosses as
// one block of bytes instead of one JavaScript operation per byte.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "eval/calculate.h"
#include "web/stand_in/paste_rule.h"
#include "web/stand_in/single_byte_text.h"

namespace {

// The parts of an outcome the page reads, by number.
enum Part { kBeforeCaret, kAfterCaret, kAnswer, kCalculated, kCommitted };

// What lumocalc_change, _enter and _paste report changed, as bits.
enum Changed { kInput = 1, kAnswerChanged = 2, kCut = 4 };

PageSession session;
PageView view;
std::string answer;      // session.last_result as UTF-8
std::string calculated;  // lumocalc_calculate's answer
std::string buffer;

std::string_view Buffered(std::size_t from, std::size_t size) {
  return std::string_view(buffer).substr(from, size);
}

// Starts an outcome; `step` changes the session, and the answer is made
// anew only when the session's changed.
template <typename Step>
int Outcome(Step step) {
  const std::string shown = session.last_result;
  view = {};
  step();
  const bool answer_changed = session.last_result != shown;
  if (answer_changed) answer = ToUtf8(session.last_result);
  return (view.input_set ? kInput : 0) | (answer_changed ? kAnswerChanged : 0) |
         (view.cut ? kCut : 0);
}

const std::string& PartText(int part) {
  static const std::string none;
  switch (part) {
    case kBeforeCaret:
      return view.before_caret;
    case kAfterCaret:
      return view.after_caret;
    case kAnswer:
      return answer;
    case kCalculated:
      return calculated;
    default: {
      const auto entry = static_cast<std::size_t>(part - kCommitted);
      return part >= kCommitted && entry < view.committed.size() ? view.committed[entry] : none;
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

// The input's whole text, `size` bytes at the buffer's start, after an edit.
EMSCRIPTEN_KEEPALIVE int lumocalc_change(std::size_t size) {
  return Outcome([&] { ChangeInput(session, Buffered(0, size), view); });
}

// Enter, on the input's whole text at the buffer's start.
EMSCRIPTEN_KEEPALIVE int lumocalc_enter(std::size_t size) {
  return Outcome([&] { PressEnter(session, Buffered(0, size), view); });
}

// A paste: the buffer holds the input before the selection, the pasted text
// and the input after the selection, one after the other.
EMSCRIPTEN_KEEPALIVE int lumocalc_paste(std::size_t before, std::size_t pasted, std::size_t after) {
  return Outcome([&] {
    Paste(session, Buffered(0, before), Buffered(before, pasted), Buffered(before + pasted, after),
          view);
  });
}

EMSCRIPTEN_KEEPALIVE std::size_t lumocalc_waiting() {
  return WaitingLines(session);
}
EMSCRIPTEN_KEEPALIVE void lumocalc_drop_waiting() {
  DropWaiting(session);
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
