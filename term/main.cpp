// lumocalc: the live calculator in a terminal. The line typed is evaluated on
// every keystroke and its answer shown below it; Enter commits the answer to
// the history, newest first, by the same rules as the window. Ctrl+C, Ctrl+Q,
// Ctrl+D on an empty line, SIGINT, SIGTERM, SIGHUP and the end of the
// terminal leave with status 0; nothing is read or stored.
#include <curses.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <string>

#include "diag/debug_log.h"
#include "number/fpu_control.h"
#include "term/arguments.h"
#include "term/keys.h"
#include "term/screen.h"
#include "term/session.h"
#include "term/terminal.h"

namespace {

// Runs until a way out; the caller restores the terminal.
int RunCalculator() {
  Session session;
  KeyDecoder decoder;
  std::string chunk(1 << 16, '\0');
  DrawScreen(session);
  refresh();
  for (;;) {
    pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {SignalPipe(), POLLIN, 0}};
    const int ready = poll(watched, 2, decoder.WaitingForMore() ? kEscapeDelayMs : -1);
    if (ready < 0 && errno != EINTR) return 1;
    if (watched[1].revents != 0) {
      const SignalRequest request = TakeSignals();
      if (request == SignalRequest::kLeave) return 0;
      if (request == SignalRequest::kResize) FollowTerminalSize();
    }
    if (ready == 0) decoder.Flush();
    if (watched[0].revents != 0) {
      const auto got = read(STDIN_FILENO, chunk.data(), chunk.size());
      if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (got <= 0) return 0;  // the terminal is gone (end of input, or hung up)
      for (const KeyEvent& key :
           decoder.Feed(std::string_view(chunk.data(), static_cast<std::size_t>(got)))) {
        if (Perform(session, key, HistoryRows()) == Outcome::kLeave) return 0;
      }
    }
    // Every key that came in together first, then one update of the screen.
    DrawScreen(session);
    refresh();
  }
}

}  // namespace

int main(int argc, char** argv) {
  LoadFpuControlWord();
  if (const int status = AnswerArguments(argc, argv); status >= 0) return status;
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    std::fputs(
        "lumocalc: standard input and output must be a terminal; lumocalc-eval answers "
        "lines from pipes and files\n",
        stderr);
    return 2;
  }
  OpenDebugLog();
  std::string error;
  int status = 2;
  try {
    const TerminalGuard guard;
    if (OpenTerminal(error)) status = RunCalculator();
  } catch (const std::exception& failure) {  // out of memory: leave with the terminal restored
    error = std::string("lumocalc: ") + failure.what();
    status = 1;
  }
  if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
  return status;
}
