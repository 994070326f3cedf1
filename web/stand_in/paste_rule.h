// STAND-IN: the page's copy of the terminal's paste rule, until the shared
// session folder has it; the lead replaces this file (and its .cpp) with that
// one and points web/exports.cpp at it. The rules of one input change stay
// the shared ReactToInputChange: this only feeds it line by line.
//
// Texts here are the page's, UTF-8; what reaches the session rules and the
// engine is the single-byte text (single_byte_text.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The window's field holds at most 32,767 characters; so does the page's
// input, counted in characters of the engine's text, one byte each.
inline constexpr std::size_t kLineLimit = 32767;

struct PageSession {
  std::string last_line;    // the window's LastLine, in the single-byte text
  std::string last_result;  // the window's LastResult: the answer shown
  // Pasted lines after a refused one, with their line ends as pasted: they
  // follow once the line in the input is committed.
  std::string waiting;
};

// What changed on the page besides the answer (session.last_result).
struct PageView {
  bool input_set = false;  // the input now holds before_caret + after_caret
  std::string before_caret;
  std::string after_caret;
  std::vector<std::string> committed;  // entries for the history, oldest first
  bool cut = false;                    // a pasted line was longer than the input holds
};

// The input's whole text changed by editing (typing, deleting, cutting,
// dropping, undoing): the session rules on its single-byte text. A text with
// line ends (which an input field never holds) is taken as pasted.
void ChangeInput(PageSession& session, std::string_view text, PageView& view);

// Enter on the input holding `text`: the session rules commit or refuse it.
// A committed or blank line lets the waiting lines follow.
void PressEnter(PageSession& session, std::string_view text, PageView& view);

// `pasted` replaces the selection between `before` and `after`. Without a
// line end it goes in as one change, cut to what the input holds. With line
// ends (CR LF, CR or LF) it is taken line by line, as if each line were typed
// and Enter pressed: the first line is the input with the selection replaced
// by the paste up to its first line end; every valid line is committed in
// order, blank lines are skipped, and the first refused line stays in the
// input with its answer while the lines after it wait; what follows the last
// line end stays in the input as typed.
void Paste(PageSession& session, std::string_view before, std::string_view pasted,
           std::string_view after, PageView& view);

// How many lines wait, and dropping them.
std::size_t WaitingLines(const PageSession& session);
void DropWaiting(PageSession& session);
