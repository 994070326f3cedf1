// Start-up and shutdown: the floating-point mode, the debug log (nothing with
// DEBUG_LOG off), then the main window until the user closes it. The command
// line and the show state are ignored; nothing is read or stored.
#include <windows.h>

#include "diag/debug_log.h"
#include "number/fpu_control.h"
#include "ui/main_dialog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  LoadFpuControlWord();
  OpenDebugLog();
  ShowMainDialog(nullptr);
  return 0;
}
