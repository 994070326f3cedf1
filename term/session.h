// What the terminal calculator holds while it runs, and what each key does to
// it: the line session every front end shares (session/line_session.h),
// and what only the terminal's view has, the history scrolled by PgUp and
// PgDn and the input line scrolled sideways.
#pragma once

#include <cstddef>

#include "session/line_session.h"
#include "term/keys.h"

struct Session {
  Session();
  LineSession line;
  std::size_t history_top = 0;  // newest entries scrolled off the top by PgDn
  std::size_t scroll = 0;       // characters of the input scrolled off to the left
};

enum class Outcome { kGoOn, kLeave, kRedraw, kSuspend };

// Carries out one key. `page` is how many history entries the screen shows:
// PgUp and PgDn scroll by that many.
Outcome Perform(Session& session, const KeyEvent& key, std::size_t page);

// The keys have paused (kKeyGapMs): text from now on is typed anew.
inline void EndBurst(Session& session) {
  session.line.EndBurst();
}
