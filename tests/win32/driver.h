// Drives lumocalc.exe from outside, as a person would: starts it, finds its
// window and fields, types, presses keys, resizes and closes it, and reads
// back what it shows. Everything goes through messages and real input, so the
// same calls work on Windows and under Wine.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

// lumocalc.exe or lumocalc-traced.exe beside the build's ui/ folder.
std::string ProgramPath(std::string_view exe_name);

// A fresh empty folder under the system's temporary folder, as the current
// folder of one calculator run (where a debug log would appear).
std::string MakeScratchFolder();

// Polls every millisecond until done() holds or timeout_ms pass.
bool WaitUntil(const std::function<bool()>& done, int timeout_ms = 3000);

// The whole text of a window of another process.
std::string TextOf(HWND window);

struct PixelSize {
  int width = 0;
  int height = 0;
};

// Dialog units of the calculator's template font, measured on a hidden dialog
// of our own (MapDialogRect does not work on another process's dialog).
class DialogUnits {
 public:
  DialogUnits();
  ~DialogUnits();
  PixelSize ToPixels(int width_units, int height_units) const;
  POINT ToPixels(POINT units) const;
  // Pixels of 1024 units on each axis.
  PixelSize Per1024() const { return per_1024_; }

 private:
  HWND dialog_ = nullptr;
  PixelSize per_1024_;
};

// One run of the calculator.
class Calculator {
 public:
  // Starts the program with a command tail in folder (both may be empty) and
  // waits for its window. Test assertions fail when it does not appear.
  explicit Calculator(std::string_view exe_name = "lumocalc.exe", std::string_view arguments = "",
                      const std::string& folder = "");
  ~Calculator();  // ends a program still running
  Calculator(const Calculator&) = delete;
  Calculator& operator=(const Calculator&) = delete;

  bool started() const { return window_ != nullptr; }
  HWND window() const { return window_; }
  HWND input() const { return GetDlgItem(window_, 1011); }
  HWND result() const { return GetDlgItem(window_, 1012); }
  HWND history() const { return GetDlgItem(window_, 1014); }
  std::string Input() const { return TextOf(input()); }
  std::string Result() const { return TextOf(result()); }
  std::string History() const { return TextOf(history()); }

  // One character typed into the input field (posted, like a key press).
  void TypeChar(char c) const;
  // Pastes text at the caret, as Ctrl+V would (EM_REPLACESEL).
  void Paste(std::string_view text) const;
  void SetCaret(int position) const;

  // Real keyboard input: the calculator in front, a click into control, then
  // the keys. Keys go to whatever has the focus, as a person's would.
  void ClickInto(HWND control) const;
  void PressKey(WORD virtual_key, bool with_alt = false) const;

  RECT WindowRect() const;
  // The outer size of a window of the calculator, in pixels.
  PixelSize SizeOf(HWND window) const;

  // Closing: the close command as the caption's button sends it.
  void PostCloseCommand() const;
  // Waits for the process to end; its exit code, or -1 if it did not end.
  long WaitForExit(int timeout_ms = 5000);
  bool Running() const;

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};
