// The debug log on Windows: the file calls themselves. The log is opened for
// writing only and shared with nobody while the calculator runs, emptied at
// start, written line by line without a buffer of its own, and never closed
// (the system closes it at exit, and nothing is held back to be lost).
#include "diag/debug_log.h"

#if DEBUG_LOG

#include <windows.h>

namespace {

HANDLE LogFile = INVALID_HANDLE_VALUE;

void Write(const void* bytes, std::size_t count) {
  DWORD written = 0;
  // A failed or short write is ignored: the log never reaches the user.
  WriteFile(LogFile, bytes, static_cast<DWORD>(count), &written, nullptr);
}

}  // namespace

void OpenDebugLog() {
  if (LogFile != INVALID_HANDLE_VALUE) return;
  LogFile = CreateFileA(kDebugLogFileName, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (LogFile == INVALID_HANDLE_VALUE) return;
  // Each run starts an empty log; a device or pipe is not cut.
  if (GetFileType(LogFile) == FILE_TYPE_DISK) {
    SetFilePointer(LogFile, 0, nullptr, FILE_BEGIN);
    SetEndOfFile(LogFile);
  }
}

void DebugLog(std::string_view message) {
  if (LogFile == INVALID_HANDLE_VALUE) return;
  if (!message.empty()) Write(message.data(), message.size());
  Write("\r\n", 2);
}

#endif  // DEBUG_LOG
