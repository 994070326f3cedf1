// The terminal's mode while the calculator runs, and the one place that puts
// it back. Signals don't act where they arrive: SIGINT, SIGTERM and SIGHUP
// ask the main loop to leave, SIGWINCH to follow the new size, through a
// pipe the loop waits on together with the keyboard.
#pragma once

#include <string>

enum class SignalRequest { kNone, kResize, kLeave };

// Raw keys (Ctrl+C, Ctrl+Q and Ctrl+Z arrive as keys), no echo, the screen
// under curses' control, bracketed paste on. On failure `error` says why.
bool OpenTerminal(std::string& error);

// Bracketed paste off, the terminal's modes and screen as they were. Does
// nothing when the terminal isn't open, so it may run on every way out.
void CloseTerminal();

// Readable when a signal has come in.
int SignalPipe();

// What the signals that came in since the last call ask for; leaving wins.
SignalRequest TakeSignals();

// Takes the terminal's new size and has the next refresh paint every cell.
void FollowTerminalSize();

// Closes the terminal when it goes out of scope, however that happens.
struct TerminalGuard {
  TerminalGuard() = default;
  TerminalGuard(const TerminalGuard&) = delete;
  TerminalGuard& operator=(const TerminalGuard&) = delete;
  ~TerminalGuard() { CloseTerminal(); }
};
