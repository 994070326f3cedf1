// The main window: a dialog built from a template in memory, with three
// controls stacked from top to bottom, run modally by hand until the user's
// close command.
#pragma once

#include <windows.h>

// The controls, in their creation order. 1013 is not used.
inline constexpr int IDC_INPUT = 1011;    // where the line is typed
inline constexpr int IDC_RESULT = 1012;   // the live answer to the line
inline constexpr int IDC_HISTORY = 1014;  // committed answers, newest first

// Builds the window, runs it until it is closed and releases its font. owner
// is 0 from start-up. Returns the modal result, 0 whenever the user closed it.
int ShowMainDialog(HWND owner);

// The window's procedure: input changes are evaluated and committed, size
// changes lay the controls out again. Returns 0 for every message, so the
// default processing follows each one.
INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
