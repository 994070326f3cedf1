// Generated sessions played on a front end, the line session their reference:
// the seed loop, the shrinking of a failing session and its report, shared
// by the players of the terminal and the window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "testkit/session_generator.h"

// The first action after which the front end shows another state, and both
// states, a field a line.
struct Mismatch {
  std::size_t action = 0;
  std::string expected, seen;
};

using SessionPlayer =
    std::function<std::optional<Mismatch>(std::uint32_t seed, const std::vector<SessionAction>&)>;

// Plays the sessions of seeds first, first + 1, ... and ends with the line
// "N sessions, M mismatches". A mismatch is played again: one that repeats
// is printed with the fewest of its actions that still fail and counted; one
// that doesn't (a machine too busy for the program's timing) is printed
// once, and not counted. `reference`: a new line session; `fields` names the
// lines of a state. Returns the exit code: 0 without mismatches.
int PlaySessions(std::uint32_t count, std::uint32_t first, FrontEnd front_end,
                 const LineSession& reference, const SessionPlayer& play, const char* fields);
