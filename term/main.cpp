// lumocalc: the live calculator in a terminal. The line typed is evaluated on
// every keystroke and its answer shown below it; Enter commits the answer to
// the history, newest first, by the same rules as the window. Ctrl+C, Ctrl+Q,
// Ctrl+D on an empty line, SIGINT, SIGTERM, SIGHUP, SIGQUIT and the end of
// the terminal leave with status 0; nothing is read or stored.
#include <curses.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "diag/debug_log.h"
#include "number/fpu_control.h"
#include "term/arguments.h"
#include "term/keys.h"
#include "term/screen.h"
#include "term/session.h"
#include "term/terminal.h"

namespace {

using Clock = std::chrono::steady_clock;

// Carries out the keys in turn; false when one of them leaves.
bool PerformKeys(Session& session, const std::vector<KeyEvent>& keys) {
  for (const KeyEvent& key : keys) {
    switch (Perform(session, key, HistoryRows())) {
      case Outcome::kLeave:
        return false;
      case Outcome::kRedraw:
        RepaintTerminal();
        break;
      case Outcome::kSuspend:
        SuspendTerminal();
        break;
      case Outcome::kGoOn:
        break;
    }
    FollowCaret(session);
  }
  return true;
}

void FollowSignal(SignalRequest request) {
  switch (request) {
    case SignalRequest::kSuspend:
      return SuspendTerminal();
    case SignalRequest::kContinued:
      return ResumeTerminal();
    case SignalRequest::kResize:
      return FollowTerminalSize();
    case SignalRequest::kLeave:  // the caller asks first
    case SignalRequest::kNone:
      return;
  }
}

// How long the loop may wait for the next byte: for good, unless bytes wait
// for their rest, an open paste for its end, or text after a refused line
// for the pause that ends the burst.
int WaitLimit(const KeyDecoder& decoder, const Session& session, Clock::time_point paste_ends) {
  if (decoder.InPaste()) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(paste_ends - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
  }
  return decoder.WaitingForMore() || session.line.Holding() ? kKeyGapMs : -1;
}

// Runs until a way out; the caller restores the terminal.
int RunCalculator() {
  Session session;
  KeyDecoder decoder;
  Clock::time_point paste_ends;
  std::string chunk(1 << 16, '\0');
  for (;;) {
    // Every key that came in together first, then one update of the screen.
    DrawScreen(session);
    refresh();
    pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {SignalPipe(), POLLIN, 0}};
    const bool paste_open = decoder.InPaste();
    const int ready = poll(watched, 2, WaitLimit(decoder, session, paste_ends));
    if (ready < 0 && errno != EINTR) return 1;
    if (ready == 0) {
      // A paste open too long ends; otherwise the keys have paused.
      if (!PerformKeys(session, decoder.Flush())) return 0;
      if (!paste_open) EndBurst(session);
    }
    if (watched[1].revents != 0) {
      const SignalRequest request = TakeSignals();
      if (request == SignalRequest::kLeave) return 0;
      FollowSignal(request);
    }
    if (watched[0].revents != 0) {
      const auto got = read(STDIN_FILENO, chunk.data(), chunk.size());
      if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (got <= 0) return 0;  // the terminal is gone (end of input, or hung up)
      const bool was_in_paste = decoder.InPaste();
      if (!PerformKeys(session, decoder.Feed(std::string_view(chunk.data(),
                                                              static_cast<std::size_t>(got))))) {
        return 0;
      }
      if (!was_in_paste && decoder.InPaste()) {
        paste_ends = Clock::now() + std::chrono::milliseconds(kPasteLimitMs);
      }
      if (decoder.InPaste() && Clock::now() >= paste_ends &&
          !PerformKeys(session, decoder.Flush())) {
        return 0;
      }
    }
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
