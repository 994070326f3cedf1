// The fuzz target for the line session (session/line_session.h), answered
// as the programs answer it (CalculateTyped over Calculate). The input is a
// sequence of a person's actions; after every one the session must hold
//  - a line without CR or LF, the caret within it on a character start, and
//    at most 32,767 characters, or, once SetLine has put a longer line there
//    (a browser's field is not held to the limit), no more than the longest
//    it put: every other text a session shows came from its line;
//  - the engine's answer to the line shown;
//  - an entry for each committed line, the engine's answer to it (never blank
//    nor the error), and Recalled() within them;
//  - after DropWaiting, no line waiting, and the line and the history as they
//    were.
// In sessions of pastes only (Type, Enter, DropWaiting, EndBurst) nothing
// typed is lost: until a drop, every character typed but the blanks (space,
// U+00A0, U+202F) and the line ends is in a committed line, in the line or in
// a line waiting, as many as were typed, and none is left out (such a session
// types fewer characters than the line holds). The lines waiting are counted
// by emptying the line and pressing Enter until none waits: on a copy before
// a drop, on the session itself at the end.
//
// The input: a byte, odd for pastes only, then actions: a byte whose low 5
// bits name one by a letter, as in Perform and kEditLetters (so that the
// seeds read), and its operands. A text is a length byte and as many bytes; in
// pastes only, a byte past ASCII is a whole character of kWide, so that none
// joins another into a new one and the characters can be counted. A position
// is two bytes, put on a character start of the line. "r" and a byte n repeat
// the next text to 32,639 + n bytes, to fill the line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

#include "cli/escape.h"
#include "eval/calculate.h"
#include "eval/text.h"
#include "number/fpu_control.h"
#include "session/calculate_typed.h"
#include "session/line_session.h"
#include "session/text_encoding.h"

namespace {

std::string Answered(std::string_view line) {
  return CalculateTyped(line, Calculate);
}

[[noreturn]] void Fail(const std::string& fault, const LineSession& session) {
  std::fprintf(stderr, "lumocalc session fuzz: %.600s; the line «%.600s», caret at byte %zu\n",
               fault.c_str(), Escape(session.Line().text).c_str(), session.Line().caret);
  std::abort();  // libFuzzer keeps the input as a crash
}

// The start of the character that holds byte `at`, reading the text from its
// start as DecodeUtf8 does; the text's end past it.
std::size_t StartOf(std::string_view text, std::size_t at) {
  if (at >= text.size()) return text.size();
  std::size_t start = 0;
  for (std::size_t next; (next = start + DecodeUtf8(text, start).length) <= at;) start = next;
  return start;
}

// What a byte past ASCII types in sessions of pastes only: a whole
// character, so that none joins another into a new one.
constexpr std::string_view kWide[] = {"\xC2\xA0", "\xE2\x80\xAF",           // the no-break spaces
                                      "\xC3\x97", "\xE2\x82\xAC", "\xFF"};  // ×, €, not UTF-8

std::size_t NonBlank(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Character character = DecodeUtf8(text, at);
    const char32_t code = character.code;
    const bool no_break = character.well_formed && (code == 0xA0 || code == 0x202F);
    count += code != ' ' && code != '\r' && code != '\n' && !no_break;
    at += character.length;
  }
  return count;
}

// What a pastes-only session holds, brought out and counted. Enter on an
// empty line takes at least the first line waiting: one that holds more than
// blanks, or one without a line end, which stays in the line.
std::size_t Held(LineSession session) {
  std::size_t held = 0;
  for (std::size_t waiting; (waiting = session.WaitingCount()) > 0;) {
    held += NonBlank(session.Line().text);
    session.SetLine("", 0);
    session.EndBurst();
    session.Enter();
    if (session.WaitingCount() >= waiting && session.Line().text.empty()) {
      Fail("Enter took no line waiting", session);
    }
  }
  held += NonBlank(session.Line().text);
  for (const std::string& line : session.CommittedLines()) held += NonBlank(line);
  return held;
}

// The input, read front to back, and the work its session has cost: a
// session stops once it has typed and shown 256 KiB (some eight full lines,
// each answered in about 50 ms under the sanitizers), so that the few
// actions a full line needs checked don't slow the whole run.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Done() const { return at_ >= size_ || spent_ > (1u << 18); }
  void Spend(std::size_t bytes) { spent_ += bytes; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::size_t Position(std::string_view line) {
    const std::size_t wanted = Byte() * 256u + Byte();
    return StartOf(line, wanted % (line.size() + 1));
  }
  // The next text repeated to about the limit, `near` deciding how far off.
  void Repeat(std::uint8_t near) { repeat_ = kInputLimit - 128 + near; }
  std::string Text(bool whole) {
    std::string text;
    for (std::size_t length = Byte(); length > 0 && !Done(); --length) {
      const std::uint8_t byte = Byte();
      if (whole && byte >= 0x80) {
        text.append(kWide[(byte - 0x80u) % std::size(kWide)]);
      } else {
        text.push_back(static_cast<char>(byte));
      }
    }
    for (const std::string once = text; !once.empty() && text.size() < repeat_;) text += once;
    repeat_ = 0;
    Spend(text.size());
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
  std::size_t repeat_ = 0;
  std::size_t spent_ = 0;
};

// The edits, each by a letter of kEditLetters; a code that names no action
// is an edit too, so that no byte is wasted.
bool (*const kEdits[])(InputLine&) = {
    DeleteBefore, DeleteAt,      MoveLeft,      MoveRight,   MoveHome,         MoveEnd,
    MoveWordLeft, MoveWordRight, DeleteToStart, DeleteToEnd, DeleteWordBefore, DeleteToWordStart};
constexpr std::string_view kEditLetters = "bxhlazwfykcg";

bool (*EditOf(char letter))(InputLine&) {
  const std::size_t edit = kEditLetters.find(letter);
  return kEdits[edit != std::string_view::npos ? edit : letter % std::size(kEdits)];
}

struct Checked {
  bool pastes_only = false;
  std::size_t typed = 0;              // characters typed but blanks and line ends, in pastes only
  std::size_t ceiling = kInputLimit;  // the characters the line may hold
  std::size_t entries = 0;            // the history entries checked
  std::string line, answer;           // the line last checked, and its answer
};

void Drop(LineSession& session, Checked& checked) {
  const std::string line = session.Line().text;
  const std::size_t entries = session.History().size();
  if (checked.pastes_only && Held(session) != checked.typed) Fail("a character lost", session);
  session.DropWaiting();
  if (session.WaitingCount() > 0) Fail("lines waiting after a drop", session);
  if (session.Line().text != line || session.History().size() != entries) {
    Fail("a drop changed the line or the history", session);
  }
  if (checked.pastes_only) checked.typed = Held(session);
}

void Perform(LineSession& session, Input& input, char action, Checked& checked) {
  switch (action) {
    case 't': {
      const std::string text = input.Text(checked.pastes_only);
      checked.typed += NonBlank(text);
      return session.Type(text);
    }
    case 'e':
      return session.Enter();
    case 'd':
      return Drop(session, checked);
    case 'p':  // the keys pause
      return session.EndBurst();
    case 'o': {
      const std::size_t from = input.Position(session.Line().text);
      const std::size_t to = input.Position(session.Line().text);
      return session.TypeOver(std::min(from, to), std::max(from, to), input.Text(false));
    }
    case 's': {
      const std::string text = input.Text(false);
      if (text.find_first_of("\r\n") == std::string::npos) {
        checked.ceiling = std::max(checked.ceiling, CountCharacters(text));
      }
      return session.SetLine(text, input.Position(text));
    }
    case 'u':
      return session.RecallOlder();
    case 'n':
      return session.RecallNewer();
    case 'r':
      return input.Repeat(input.Byte());
    default:
      return session.Change(EditOf(action));
  }
}

void Check(const LineSession& session, Checked& checked) {
  const InputLine& line = session.Line();
  if (line.text.find_first_of("\r\n") != std::string::npos) Fail("a line end in the line", session);
  if (StartOf(line.text, line.caret) != line.caret) Fail("the caret inside a character", session);
  if (CountCharacters(line.text) > checked.ceiling) Fail("the line past its limit", session);
  // The same line has the same answer: a long one is not answered again.
  if (line.text != checked.line || session.Answer() != checked.answer) {
    if (session.Answer() != Answered(line.text)) {
      Fail("the answer «" + Escape(session.Answer()) + "» shown", session);
    }
    checked.line = line.text;
    checked.answer = session.Answer();
  }
  const auto& history = session.History();
  const auto& lines = session.CommittedLines();
  if (history.size() != lines.size() || history.size() < checked.entries) {
    Fail("the history and the committed lines apart", session);
  }
  if (session.Recalled() > lines.size()) Fail("a line recalled past the history", session);
  for (; checked.entries < history.size(); ++checked.entries) {
    const std::string& entry = history[checked.entries];
    const std::string& committed = lines[checked.entries];
    if (entry.empty() || entry == kErrorText || entry != Answered(committed)) {
      Fail("«" + Escape(entry) + "» committed for «" + Escape(committed) + "»", session);
    }
  }
}

}  // namespace

// libFuzzer calls this once before the first input, replay_main.cpp too.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  LoadFpuControlWord();  // the calculator's mode, as every program of it starts
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input(data, size);
  Checked checked;
  checked.pastes_only = input.Byte() & 1;
  // Pastes only never fill the line, so that the limit cuts nothing they count.
  if (checked.pastes_only && size > kInputLimit) return 0;
  LineSession session(Answered);
  while (!input.Done()) {
    const char action = static_cast<char>('`' + (input.Byte() & 31));  // a letter, mostly
    if (checked.pastes_only && std::string_view("tedp").find(action) == std::string_view::npos) {
      continue;
    }
    Perform(session, input, action, checked);
    Check(session, checked);
    input.Spend(session.Line().text.size());
  }
  if (checked.pastes_only && (Held(session) != checked.typed || session.LeftOut() > 0)) {
    Fail("a character lost", session);
  }
  return 0;
}
