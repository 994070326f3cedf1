// The terminal's mode while the calculator runs, and the one place that puts
// it back. Signals don't act where they arrive: SIGINT, SIGTERM, SIGHUP and
// SIGQUIT ask the main loop to leave, SIGTSTP to suspend, SIGCONT to take the
// terminal back after a stop, SIGWINCH to follow the new size, through a pipe
// the loop waits on together with the keyboard.
#pragma once

#include <string>

// In rising weight: of several signals, the weightiest is followed.
enum class SignalRequest { kNone, kResize, kContinued, kSuspend, kLeave };

// Raw keys (Ctrl+C, Ctrl+Q and Ctrl+Z arrive as keys), no echo, the screen
// under curses' control, bracketed paste on, characters in UTF-8. On failure
// `error` says why.
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

// Has the next refresh paint every cell (Ctrl+L: another program wrote on
// the screen).
void RepaintTerminal();

// Leaves the terminal as it was and stops the program, as Ctrl+Z does in a
// shell; once the shell continues it (fg), takes the terminal back.
void SuspendTerminal();

// Takes the terminal back after the program was stopped and continued
// without being asked (SIGSTOP): the shell may have changed its modes.
void ResumeTerminal();

// Closes the terminal when it goes out of scope, however that happens.
struct TerminalGuard {
  TerminalGuard() = default;
  TerminalGuard(const TerminalGuard&) = delete;
  TerminalGuard& operator=(const TerminalGuard&) = delete;
  ~TerminalGuard() { CloseTerminal(); }
};
