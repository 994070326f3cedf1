#include "term/terminal.h"

#include <curses.h>
#include <fcntl.h>
#include <langinfo.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
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

// Each signal as one byte in the pipe: its request.
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP, SIGCONT, SIGWINCH};

extern "C" void OnSignal(int number) {
  const int saved_errno = errno;
  const char request = static_cast<char>(number);
  // A full pipe already holds requests enough: the loop reads them all and
  // follows the weightiest, and leaving or suspending wins over the rest.
  [[maybe_unused]] const auto written = write(signal_pipe[1], &request, 1);
  errno = saved_errno;
}

SignalRequest RequestOf(int number) {
  switch (number) {
    case SIGWINCH:
      return SignalRequest::kResize;
    case SIGCONT:
      return SignalRequest::kContinued;
    case SIGTSTP:
      return SignalRequest::kSuspend;
    default:
      return SignalRequest::kLeave;
  }
}

void Catch(int number) {
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(number, &action, nullptr);
}

// Keys and the screen are UTF-8, as every terminal of today speaks it. The
// character type of the user's locale says which characters take one
// column; without a UTF-8 locale, C.UTF-8 (or the common English one) does,
// and without any, characters other than ASCII show as stand-ins.
void UseUtf8() {
  const char* chosen = std::setlocale(LC_CTYPE, "");
  if (chosen != nullptr && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) return;
  for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
    if (std::setlocale(LC_CTYPE, name) != nullptr) return;
  }
}

bool OpenSignalPipe() {
  if (signal_pipe[0] >= 0) return true;
  if (pipe(signal_pipe) != 0) return false;
  for (const int end : signal_pipe) {
    fcntl(end, F_SETFL, fcntl(end, F_GETFL) | O_NONBLOCK);
    fcntl(end, F_SETFD, FD_CLOEXEC);
  }
  // Installed before curses starts, which then leaves these signals to us.
  for (const int number : kSignals) Catch(number);
  return true;
}

}  // namespace

bool OpenTerminal(std::string& error) {
  if (!OpenSignalPipe()) {
    error = "lumocalc: no pipe for signals";
    return false;
  }
  UseUtf8();
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
  char signals[64];
  for (;;) {
    const auto got = read(signal_pipe[0], signals, sizeof signals);
    if (got <= 0) return request;
    for (int at = 0; at < got; ++at) request = std::max(request, RequestOf(signals[at]));
  }
}

void FollowTerminalSize() {
  winsize size = {};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0) {
    resizeterm(size.ws_row, size.ws_col);
  }
  clear();  // the terminal may have reflowed the old picture
}

void RepaintTerminal() {
  clear();
}

void SuspendTerminal() {
  if (curses_screen == nullptr) return;
  WriteToTerminal(kBracketedPasteOff);
  endwin();
  // The default action stops the program right here, until it is continued.
  struct sigaction stop = {};
  stop.sa_handler = SIG_DFL;
  sigemptyset(&stop.sa_mask);
  sigaction(SIGTSTP, &stop, nullptr);
  raise(SIGTSTP);
  Catch(SIGTSTP);
  ResumeTerminal();
}

void ResumeTerminal() {
  if (curses_screen == nullptr) return;
  reset_prog_mode();
  WriteToTerminal(kBracketedPasteOn);
  FollowTerminalSize();  // the size may have changed meanwhile
}
