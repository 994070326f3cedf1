// What a person does with the calculator, as data, from a seed: types at the
// caret (no-break spaces and characters the single-byte text lacks among the
// rest), deletes, moves the caret, types over a selection, pastes with and
// without line ends (blank and refused lines among them), presses Enter,
// drops the waiting lines, recalls lines and empties the line.
//
// The line session (session/line_session.h) is the reference: a player
// carries each action out on a front end and compares what the front end
// shows with what the session holds after the same action.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "session/line_session.h"

enum class Act {
  kType,
  kPaste,
  kBackspace,
  kDelete,
  kLeft,
  kRight,
  kHome,
  kEnd,
  kOver,
  kEnter,
  kDrop,
  kUp,
  kDown,
  kEmpty
};

struct SessionAction {
  Act act = Act::kType;
  // Typed or pasted, UTF-8; over a selection, typed, or pasted when it holds line ends.
  std::string text;
  std::size_t from = 0;  // kOver: the selection, in characters of the line (from <= to)
  std::size_t to = 0;
};

// What each front end has: the terminal and the page everything; the
// window, in its own paste rule, no line ends in a paste, no recall, no drop,
// and only the characters of its single-byte text.
enum class FrontEnd { kTerminal, kPage, kWindow };

// 4 to 24 actions. The generator's draws are its own over std::mt19937, so
// that a seed is the same session on every machine; `reference`, a new
// session, keeps the line under 57 characters, whole on a 100-column screen.
std::vector<SessionAction> GenerateSession(std::uint32_t seed, FrontEnd front_end,
                                           LineSession reference);

// Carries the action out on the reference, whole: the keys paused before it.
void Apply(LineSession& session, const SessionAction& action);

// One line: "type 12+3", "over 1 2 7", "enter", the text escaped as
// cli/escape.h writes it.
std::string Describe(const SessionAction& action);
