#include "term/terminal.h"

#include <curses.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string_view>

namespace {

// Bracketed paste: xterm and the terminals that follow it know these
// sequences; one that doesn't ignores them. They are written straight to the
// terminal, as a mode they need no place in curses' picture of the screen.
constexpr std::string_view kBracketedPasteOn = "\033[?2004h";
constexpr std::string_view kBracketedPasteOff = "\033[?2004l";

void WriteToTerminal(std::string_view bytes) {
  while (!bytes.empty()) {
    const auto written = write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;  // a terminal that is gone has no mode to set
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

int signal_pipe[2] = {-1, -1};
SCREEN* curses_screen = nullptr;
bool bracketed_paste = false;

extern "C" void OnSignal(int number) {
  const int saved_errno = errno;
  const char request = number == SIGWINCH ? 'r' : 'q';
  // A full pipe already holds a request of the same weight or one to leave.
  [[maybe_unused]] const auto written = write(signal_pipe[1], &request, 1);
  errno = saved_errno;
}

bool OpenSignalPipe() {
  if (signal_pipe[0] >= 0) return true;
  if (pipe(signal_pipe) != 0) return false;
  for (const int end : signal_pipe) {
    fcntl(end, F_SETFL, fcntl(end, F_GETFL) | O_NONBLOCK);
    fcntl(end, F_SETFD, FD_CLOEXEC);
  }
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // Installed before curses starts, which then leaves these signals to us.
  for (const int number : {SIGINT, SIGTERM, SIGHUP, SIGWINCH}) sigaction(number, &action, nullptr);
  return true;
}

}  // namespace

bool OpenTerminal(std::string& error) {
  if (!OpenSignalPipe()) {
    error = "lumocalc: no pipe for signals";
    return false;
  }
#if defined(NCURSES_VERSION_MAJOR) && NCURSES_VERSION_MAJOR >= 6
  // The size the terminal reports, not LINES and COLUMNS left in the environment.
  use_tioctl(TRUE);
#endif
  curses_screen = newterm(nullptr, stdout, stdin);
  if (curses_screen == nullptr) {
    const char* type = std::getenv("TERM");
    error = std::string("lumocalc: unknown terminal type \"") + (type ? type : "") + "\"";
    return false;
  }
  // A terminal that can't place the cursor (TERM=dumb) can't show the calculator.
  const char* place_cursor = tigetstr(const_cast<char*>("cup"));
  if (place_cursor == nullptr || place_cursor == reinterpret_cast<char*>(-1)) {
    error = "lumocalc: this terminal can't place the cursor";
    return false;
  }
  raw();
  noecho();
  nonl();  // CR stays CR, so CR LF is told apart from two Enters
  // curses would cut an update short while keys wait; the loop reads them
  // all first and then draws once anyway.
  typeahead(-1);
  WriteToTerminal(kBracketedPasteOn);
  bracketed_paste = true;
  return true;
}

void CloseTerminal() {
  if (curses_screen == nullptr) return;
  if (bracketed_paste) WriteToTerminal(kBracketedPasteOff);
  bracketed_paste = false;
  endwin();
  delscreen(curses_screen);
  curses_screen = nullptr;
}

int SignalPipe() {
  return signal_pipe[0];
}

SignalRequest TakeSignals() {
  SignalRequest request = SignalRequest::kNone;
  char requests[64];
  for (;;) {
    const auto got = read(signal_pipe[0], requests, sizeof requests);
    if (got <= 0) return request;
    for (int at = 0; at < got; ++at) {
      if (requests[at] == 'q') return SignalRequest::kLeave;
      request = SignalRequest::kResize;
    }
  }
}

void FollowTerminalSize() {
  winsize size = {};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0) {
    resizeterm(size.ws_row, size.ws_col);
  }
  clear();  // the terminal may have reflowed the old picture
}
