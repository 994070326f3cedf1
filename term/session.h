// What the terminal calculator holds while it runs, and what each key does to
// it. The input rules are the window's own (session/input_handling.h): every change
// of the input line goes through ReactToInputChange, whose reaction is
// carried out here as MainDialogProc carries it out on the window's fields.
// Text with line ends is taken line by line (session/paste_lines.h).
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "session/paste_lines.h"
#include "term/keys.h"
#include "term/line_edit.h"

struct Session {
  InputLine input;
  std::string last_line;             // the window's LastLine
  std::string last_result;           // the window's LastResult, which the result line shows
  std::vector<std::string> history;  // committed results, oldest first; shown newest first
  std::size_t history_top = 0;       // newest entries scrolled off the top by PgDn
  std::vector<std::string> lines;    // the committed lines as typed, in the same order
  // Up and Down: 0 is the line being typed, n the nth newest committed line.
  // The text each position had when the caret left it, edits included, is
  // kept until the next commit, so moving through the lines loses nothing.
  std::size_t recalled = 0;
  std::map<std::size_t, std::string> left_behind;
  WaitingLines waiting;  // lines of a paste behind a refused line
  // A line was refused since the keys last paused: the text that follows
  // closely is the rest of the same paste, from a terminal without
  // bracketed paste, and goes behind the waiting lines, not into the line.
  bool holding = false;
};

enum class Outcome { kGoOn, kLeave, kRedraw, kSuspend };

// Carries out one key. `page` is how many history entries the screen shows:
// PgUp and PgDn scroll by that many.
Outcome Perform(Session& session, const KeyEvent& key, std::size_t page);

// The keys have paused (kKeyGapMs): text from now on is typed anew.
inline void EndBurst(Session& session) {
  session.holding = false;
}
