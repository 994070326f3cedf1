#include "tests/term/pty_screen.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utmp.h>
#include <vterm.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

int StatusOf(int wait_status) {
  return WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
}

}  // namespace

PtyScreen::PtyScreen(const char* program, int cols, int rows) {
  winsize size = {};
  size.ws_row = static_cast<unsigned short>(rows);
  size.ws_col = static_cast<unsigned short>(cols);
  if (openpty(&master_, &slave_, nullptr, nullptr, &size) != 0) std::abort();
  tcgetattr(slave_, &before_);
  // An xterm, as libvterm emulates, but one whose description lacks REP:
  // libvterm 0.1.4 repeats a character one column too far at the right margin.
  setenv("TERM", "xterm-xfree86", 1);
  pid_ = fork();
  if (pid_ == 0) {
    close(master_);
    if (login_tty(slave_) != 0) _exit(126);
    execl(program, program, static_cast<char*>(nullptr));
    _exit(127);
  }
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  vterm_ = vterm_new(rows, cols);
  vterm_set_utf8(vterm_, 1);
  vterm_screen_reset(vterm_obtain_screen(vterm_), 1);
}

PtyScreen::~PtyScreen() {
  if (pid_ > 0) Exit(0);
  if (master_ >= 0) close(master_);
  close(slave_);
  vterm_free(vterm_);
}

void PtyScreen::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const auto written = write(master_, bytes.data(), bytes.size());
    if (written > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(written));
    } else if (written < 0 && errno == EAGAIN) {
      Pump(10);  // the program reads no faster than it draws: take its output meanwhile
    } else {
      return;  // the program is gone
    }
  }
}

void PtyScreen::Resize(int cols, int rows) {
  winsize size = {};
  size.ws_row = static_cast<unsigned short>(rows);
  size.ws_col = static_cast<unsigned short>(cols);
  vterm_set_size(vterm_, rows, cols);
  ioctl(master_, TIOCSWINSZ, &size);  // the kernel sends SIGWINCH
}

void PtyScreen::Signal(int number) {
  kill(pid_, number);
}

void PtyScreen::Close() {
  close(master_);
  master_ = -1;
}

void PtyScreen::Pump(int timeout_ms) {
  pollfd output = {master_, POLLIN, 0};
  if (poll(&output, 1, timeout_ms) <= 0) return;
  char chunk[1 << 16];
  for (ssize_t got; (got = read(master_, chunk, sizeof chunk)) > 0;) {
    vterm_input_write(vterm_, chunk, static_cast<std::size_t>(got));
  }
}

bool PtyScreen::Await(const std::function<bool()>& settled, int timeout_ms) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!settled()) {
    if (Clock::now() > deadline) return false;
    Pump(20);
  }
  return true;
}

int PtyScreen::Rows() const {
  int rows = 0;
  int cols = 0;
  vterm_get_size(vterm_, &rows, &cols);
  return rows;
}

std::string PtyScreen::Row(int row) const {
  int rows = 0;
  int cols = 0;
  vterm_get_size(vterm_, &rows, &cols);
  if (row < 0 || row >= rows) return "(no row " + std::to_string(row) + ")";
  std::string text(static_cast<std::size_t>(cols) * 4, '\0');
  const VTermRect rect = {row, row + 1, 0, cols};
  text.resize(vterm_screen_get_text(vterm_obtain_screen(vterm_), text.data(), text.size(), rect));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

int PtyScreen::CursorRow() const {
  VTermPos at;
  vterm_state_get_cursorpos(vterm_obtain_state(vterm_), &at);
  return at.row;
}

int PtyScreen::CursorColumn() const {
  VTermPos at;
  vterm_state_get_cursorpos(vterm_obtain_state(vterm_), &at);
  return at.col;
}

int PtyScreen::Exit(int timeout_ms) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  int wait_status = 0;
  while (waitpid(pid_, &wait_status, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &wait_status, 0);
      pid_ = -1;
      return -1;
    }
    Pump(10);  // it may be writing its last update: read it, or wait a little
  }
  pid_ = -1;
  return StatusOf(wait_status);
}

bool PtyScreen::ModesRestored() const {
  termios now = {};
  tcgetattr(slave_, &now);
  return now.c_iflag == before_.c_iflag && now.c_oflag == before_.c_oflag &&
         now.c_cflag == before_.c_cflag && now.c_lflag == before_.c_lflag &&
         std::memcmp(now.c_cc, before_.c_cc, sizeof now.c_cc) == 0;
}

int RunWithoutTerminal(const char* program, std::string& error_output) {
  int error_pipe[2];
  if (pipe(error_pipe) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    const int nothing = open("/dev/null", O_RDWR);
    dup2(nothing, 0);
    dup2(nothing, 1);
    dup2(error_pipe[1], 2);
    execl(program, program, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(error_pipe[1]);
  char chunk[256];
  for (ssize_t got; (got = read(error_pipe[0], chunk, sizeof chunk)) > 0;) {
    error_output.append(chunk, static_cast<std::size_t>(got));
  }
  close(error_pipe[0]);
  int wait_status = 0;
  waitpid(pid, &wait_status, 0);
  return StatusOf(wait_status);
}
