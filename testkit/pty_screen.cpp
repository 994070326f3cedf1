#include "testkit/pty_screen.h"

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

// A shell's job control in the fewest steps: the program runs in a process
// group of its own, in the foreground; when it stops, the terminal goes back
// to the shell, which says so and waits for a line before it continues the
// program in the foreground. Ends with the program's status.
[[noreturn]] void RunAsJob(const char* program) {
  signal(SIGTTOU, SIG_IGN);  // taking the terminal from the background
  const pid_t job = fork();
  if (job == 0) {
    setpgid(0, 0);
    tcsetpgrp(STDIN_FILENO, getpid());
    signal(SIGTTOU, SIG_DFL);
    execl(program, program, static_cast<char*>(nullptr));
    _exit(127);
  }
  setpgid(job, job);
  tcsetpgrp(STDIN_FILENO, job);
  for (int status = 0;;) {
    if (waitpid(job, &status, WUNTRACED) < 0) _exit(126);
    if (!WIFSTOPPED(status))
      _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    tcsetpgrp(STDIN_FILENO, getpgrp());
    constexpr std::string_view kStopped = "stopped\r\n";
    if (write(STDOUT_FILENO, kStopped.data(), kStopped.size()) < 0) _exit(126);
    for (char c = 0; read(STDIN_FILENO, &c, 1) == 1 && c != '\n';) {
    }
    tcsetpgrp(STDIN_FILENO, job);
    kill(-job, SIGCONT);
  }
}

}  // namespace

PtyScreen::PtyScreen(const char* program, int cols, int rows, bool job_control)
    : rows_(rows), cols_(cols) {
  const winsize size = {static_cast<unsigned short>(rows), static_cast<unsigned short>(cols), 0, 0};
  if (openpty(&master_, &slave_, nullptr, nullptr, &size) != 0) std::abort();
  tcgetattr(slave_, &before_);
  // An xterm, as libvterm emulates, but one whose description lacks REP:
  // libvterm 0.1.4 repeats a character one column too far at the right margin.
  setenv("TERM", "xterm-xfree86", 1);
  pid_ = fork();
  if (pid_ == 0) {
    close(master_);
    if (login_tty(slave_) != 0) _exit(127);
    if (job_control) RunAsJob(program);
    execl(program, program, static_cast<char*>(nullptr));
    _exit(127);
  }
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  vterm_ = vterm_new(rows, cols);
  vterm_set_utf8(vterm_, 1);
  vterm_screen_enable_altscreen(vterm_obtain_screen(vterm_), 1);
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
    if (written < 0 && errno != EAGAIN) return;  // the program is gone
    if (written > 0) bytes.remove_prefix(static_cast<std::size_t>(written));
    // The program reads no faster than it draws: take its output meanwhile.
    if (!bytes.empty()) Await([] { return true; }, 0);
  }
}

void PtyScreen::Resize(int cols, int rows) {
  rows_ = rows;
  cols_ = cols;
  vterm_set_size(vterm_, rows, cols);
  const winsize size = {static_cast<unsigned short>(rows), static_cast<unsigned short>(cols), 0, 0};
  ioctl(master_, TIOCSWINSZ, &size);
}

void PtyScreen::Signal(int number) {
  kill(pid_, number);
}

void PtyScreen::Scribble(std::string_view bytes) {
  vterm_input_write(vterm_, bytes.data(), bytes.size());
}

void PtyScreen::Close() {
  close(master_);
  master_ = -1;
}

bool PtyScreen::Await(const std::function<bool()>& settled, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  char chunk[1 << 16];
  for (bool first = true;; first = false) {
    pollfd output = {master_, POLLIN, 0};  // a closed terminal (-1) is only waited on
    if (poll(&output, 1, first ? 0 : 10) > 0) {
      for (ssize_t got; (got = read(master_, chunk, sizeof chunk)) > 0;) {
        vterm_input_write(vterm_, chunk, static_cast<std::size_t>(got));
      }
    }
    if (settled()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
  }
}

std::string PtyScreen::Row(int row) const {
  if (row < 0 || row >= rows_) return "(no row " + std::to_string(row) + ")";
  std::string text(static_cast<std::size_t>(cols_) * 4, '\0');
  const VTermRect rect = {row, row + 1, 0, cols_};
  text.resize(vterm_screen_get_text(vterm_obtain_screen(vterm_), text.data(), text.size(), rect));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::pair<int, int> PtyScreen::Cursor() const {
  VTermPos at;
  vterm_state_get_cursorpos(vterm_obtain_state(vterm_), &at);
  return {at.row, at.col};
}

int PtyScreen::Exit(int timeout_ms) {
  int wait_status = 0;
  const bool ended =
      Await([&] { return waitpid(pid_, &wait_status, WNOHANG) == pid_; }, timeout_ms);
  if (!ended) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &wait_status, 0);
  }
  pid_ = -1;
  if (!ended) return -1;
  return WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
}

bool PtyScreen::ModesRestored() const {
  termios now = {};
  tcgetattr(slave_, &now);
  return now.c_iflag == before_.c_iflag && now.c_oflag == before_.c_oflag &&
         now.c_cflag == before_.c_cflag && now.c_lflag == before_.c_lflag &&
         std::memcmp(now.c_cc, before_.c_cc, sizeof now.c_cc) == 0;
}
