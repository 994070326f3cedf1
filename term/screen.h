// The three areas of the calculator, top to bottom as in the window: the
// input line with the caret, the result line, and the history (newest first)
// under a rule. Everything is drawn into curses' screen from the session;
// refresh() then sends the terminal only the cells that changed.
#pragma once

#include <cstddef>

#include "term/session.h"

// How many history entries the screen has rows for.
std::size_t HistoryRows();

// Scrolls the input line for its caret on the screen's width. After every
// key, so that where the line stands doesn't depend on how many keys came
// in between two pictures.
void FollowCaret(Session& session);

// Draws the session on the screen's current size. It scrolls the input line
// to keep the caret in view, and the history no further than it reaches.
void DrawScreen(Session& session);
