// STAND-IN (see paste_rule.h).
#include "web/stand_in/paste_rule.h"

#include <algorithm>
#include <utility>

#include "eval/calculate.h"
#include "session/input_handling.h"
#include "web/stand_in/single_byte_text.h"

namespace {

constexpr std::string_view kLineEnds = "\r\n";

// Where the line end at `at` ends: CR LF is one line end, as are CR and LF.
std::size_t PastLineEnd(std::string_view text, std::size_t at) {
  return text.substr(at, 2) == "\r\n" ? at + 2 : at + 1;
}

// The characters of a UTF-8 text: its bytes that start one.
std::size_t Characters(std::string_view utf8) {
  std::size_t count = 0;
  for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

// The first `room` characters of a UTF-8 text.
std::string_view FirstCharacters(std::string_view utf8, std::size_t room, bool& cut) {
  std::size_t at = 0;
  for (std::size_t seen = 0; at < utf8.size(); ++at) {
    if ((static_cast<unsigned char>(utf8[at]) & 0xC0) != 0x80 && seen++ == room) break;
  }
  cut = cut || at < utf8.size();
  return utf8.substr(0, at);
}

// A character the single-byte text lacks stands as "=", which the engine
// refuses wherever it is in a line: such a line is answered "Erreur de
// syntaxe", never read as another number. Two lines that differ only there
// get that same answer, so the session rules' "same line as last time" still
// holds for them.
std::string EngineText(std::string_view utf8) {
  return ToSingleByte(utf8, '=').bytes;
}

InputChange React(PageSession& session, std::string_view engine_text) {
  return ReactToInputChange(engine_text, session.last_line, session.last_result, Calculate);
}

enum class Taken { kCommitted, kBlank, kRefused };

// `line` typed into the input in place of what it held, then Enter.
Taken TakeLine(PageSession& session, std::string_view line, PageView& view) {
  std::string text = EngineText(line);
  React(session, text);
  text.append(kLineBreak);
  InputChange change = React(session, text);
  if (change.reaction == InputReaction::kCommit) {
    view.committed.push_back(ToUtf8(change.text));
    return Taken::kCommitted;
  }
  return session.last_result.empty() ? Taken::kBlank : Taken::kRefused;
}

void SetInput(PageView& view, std::string_view before_caret, std::string_view after_caret) {
  view.input_set = true;
  view.before_caret = before_caret;
  view.after_caret = after_caret;
}

// Takes `text`, typed into the input, line by line; `caret` is where the
// caret stands in its first line should that line be refused. The earlier
// waiting lines come after all of it; when `text` ends in a line end they
// follow at once.
void TakeText(PageSession& session, std::string text, std::size_t caret, PageView& view) {
  std::string_view rest = text;
  for (;;) {
    const std::size_t end = rest.find_first_of(kLineEnds);
    const std::string_view line = FirstCharacters(rest.substr(0, end), kLineLimit, view.cut);
    if (end == std::string_view::npos) {  // the last piece, with no line end
      React(session, EngineText(line));
      SetInput(view, line, {});
      return;
    }
    const Taken taken = TakeLine(session, line, view);
    rest.remove_prefix(PastLineEnd(rest, end));
    if (taken == Taken::kRefused) {
      // The line stays for correction; what follows it waits, before the
      // lines that were waiting already.
      const bool joined = !rest.empty() && !session.waiting.empty() &&
                          kLineEnds.find(rest.back()) == std::string_view::npos;
      session.waiting = std::string(rest) + (joined ? "\n" : "") + session.waiting;
      caret = std::min(caret, line.size());
      SetInput(view, line.substr(0, caret), line.substr(caret));
      return;
    }
    if (rest.empty() && !session.waiting.empty()) {
      text = std::exchange(session.waiting, {});
      rest = text;
    }
    caret = std::string_view::npos;
  }
}

}  // namespace

void ChangeInput(PageSession& session, std::string_view text, PageView& view) {
  if (text.find_first_of(kLineEnds) != std::string_view::npos)
    return Paste(session, {}, text, {}, view);
  React(session, EngineText(text));
}

void PressEnter(PageSession& session, std::string_view text, PageView& view) {
  if (text.find_first_of(kLineEnds) != std::string_view::npos) {
    return Paste(session, {}, std::string(text) + "\n", {}, view);
  }
  // A refused line stays as it is, and so does a blank one with nothing waiting, as in the window.
  const Taken taken = TakeLine(session, text, view);
  if (taken == Taken::kRefused || (taken == Taken::kBlank && session.waiting.empty())) return;
  TakeText(session, std::exchange(session.waiting, {}), 0, view);
}

void Paste(PageSession& session, std::string_view before, std::string_view pasted,
           std::string_view after, PageView& view) {
  const std::size_t kept = Characters(before) + Characters(after);
  const std::size_t room = kept < kLineLimit ? kLineLimit - kept : 0;
  const std::size_t end = pasted.find_first_of(kLineEnds);
  const std::string_view first = FirstCharacters(pasted.substr(0, end), room, view.cut);
  std::string line = std::string(before).append(first);
  const std::size_t caret = line.size();
  line.append(after);
  if (end == std::string_view::npos) {
    React(session, EngineText(line));
    SetInput(view, std::string_view(line).substr(0, caret), after);
    return;
  }
  TakeText(session, line.append(pasted.substr(end)), caret, view);
}

std::size_t WaitingLines(const PageSession& session) {
  const std::string_view text = session.waiting;
  std::size_t lines = 0;
  for (std::size_t at = text.find_first_of(kLineEnds); at != std::string_view::npos;
       at = text.find_first_of(kLineEnds, PastLineEnd(text, at)))
    ++lines;
  const bool open_end = !text.empty() && kLineEnds.find(text.back()) == std::string_view::npos;
  return lines + (open_end ? 1 : 0);
}

void DropWaiting(PageSession& session) {
  session.waiting.clear();
}
