// What the terminal calculator holds while it runs, and what each key does to
// it. The input rules are the window's own (session/input_handling.h): every change
// of the input line goes through ReactToInputChange, whose reaction is
// carried out here as MainDialogProc carries it out on the window's fields.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "term/keys.h"
#include "term/line_edit.h"

struct Session {
  InputLine input;
  std::string last_line;             // the window's LastLine
  std::string last_result;           // the window's LastResult, which the result line shows
  std::vector<std::string> history;  // committed results, oldest first; shown newest first
  std::size_t history_top = 0;       // newest entries scrolled off the top by PgDn
};

enum class Outcome { kGoOn, kLeave };

// Carries out one key. `page` is how many history entries the screen shows:
// PgUp and PgDn scroll by that many.
Outcome Perform(Session& session, const KeyEvent& key, std::size_t page);
