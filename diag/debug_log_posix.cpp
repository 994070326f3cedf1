// The debug log on POSIX systems: a thin layer that behaves like the Windows
// file calls the calculator makes there (CreateFileA with share mode 0 and
// OPEN_ALWAYS, truncation of a disk file, two unbuffered writes per line).
#include "diag/debug_log.h"

#if DEBUG_LOG

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The open log, or -1. Lives until the process ends; the system closes it.
int LogDescriptor = -1;

}  // namespace

void OpenDebugLog() {
  if (LogDescriptor >= 0) return;
  // O_NONBLOCK: a FIFO without a reader must not stall start-up (Windows would
  // refuse such an open, and a refused open simply means no log).
  const int fd = open(kDebugLogFileName, O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) return;
  // Share mode 0: while we hold the log, a second opener is turned away, and we
  // are turned away if someone else holds it.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return;
  }
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    // Each run starts an empty log; a device or pipe is never cut.
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    lseek(fd, 0, SEEK_SET);
    if (ftruncate(fd, 0) != 0) {
      // Not cut: the log still opens, as with SetEndOfFile failing.
    }
  }
  LogDescriptor = fd;
}

void DebugLog(std::string_view message) {
  if (LogDescriptor < 0) return;
  // Two writes, no retry: a short or failed write is ignored, and the line end
  // is attempted regardless.
  if (!message.empty()) {
    if (write(LogDescriptor, message.data(), message.size()) < 0) {
    }
  }
  if (write(LogDescriptor, "\r\n", 2) < 0) {
  }
}

#endif  // DEBUG_LOG
