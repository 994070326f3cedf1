// A program on a pseudo-terminal, its output rendered by libvterm as a
// terminal of that size would show it: what a person would see, row by row.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>

struct VTerm;

class PtyScreen {
 public:
  // With `job_control`, the program runs as a shell's job in the foreground:
  // when it stops, "stopped" shows and a line typed (fg) continues it.
  PtyScreen(const char* program, int cols, int rows, bool job_control = false);
  ~PtyScreen();
  PtyScreen(const PtyScreen&) = delete;
  PtyScreen& operator=(const PtyScreen&) = delete;

  void Send(std::string_view bytes);
  void Resize(int cols, int rows);  // the kernel sends SIGWINCH
  void Signal(int number);
  // Another program writes on the screen, behind the program's back.
  void Scribble(std::string_view bytes);
  void Close();  // the terminal goes away: the program sees it hang up

  // Renders the program's output until `settled` holds; false when it
  // doesn't within `timeout_ms`.
  bool Await(const std::function<bool()>& settled, int timeout_ms);
  int Rows() const { return rows_; }
  std::string Row(int row) const;      // UTF-8, trailing blanks dropped
  std::pair<int, int> Cursor() const;  // row, column

  // The program's exit status, 128 + the signal that ended it, or -1 when it
  // hasn't ended within `timeout_ms` (it is killed then).
  int Exit(int timeout_ms);
  // The terminal's modes are again those it had before the program started.
  bool ModesRestored() const;

 private:
  int master_ = -1;
  int slave_ = -1;  // kept open to read the modes the program leaves behind
  pid_t pid_ = -1;
  int rows_ = 0;
  int cols_ = 0;
  VTerm* vterm_ = nullptr;
  termios before_ = {};
};
