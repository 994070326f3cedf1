// The evaluation trace.
//
// DEBUG_LOG is decided when the calculator is built (cmake -DDEBUG_LOG=ON); the
// delivered build has it off. Off, OpenDebugLog and DebugLog are empty inline
// functions and Trace does not even assemble its message, so the trace leaves
// nothing in the machine code and no file is ever touched. On, OpenDebugLog
// opens "lumocalc-debug.txt" in the current directory, emptied, and every
// DebugLog call writes its message and CR LF straight to the operating system.
#pragma once

#include <string>
#include <string_view>

#ifndef DEBUG_LOG
#define DEBUG_LOG 0
#endif

inline constexpr bool kDebugLogEnabled = DEBUG_LOG != 0;

// The relative name: the log lies in the process's current directory.
inline constexpr const char kDebugLogFileName[] = "lumocalc-debug.txt";

#if DEBUG_LOG
// Opens the log once per process; a failure leaves it closed, silently.
void OpenDebugLog();
// Writes the message byte for byte, then CR LF. Failures are ignored.
void DebugLog(std::string_view message);
#else
inline void OpenDebugLog() {}
inline void DebugLog(std::string_view) {}
#endif

// Builds one trace message from its pieces and hands it to DebugLog. With the
// log off the pieces are never concatenated.
template <typename... Pieces>
inline void Trace(const Pieces&... pieces) {
  if constexpr (kDebugLogEnabled) {
    std::string message;
    (message.append(std::string_view(pieces)), ...);
    DebugLog(message);
  }
}
