#include "tests/win32/driver.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// What it takes for another process to answer a message; far above what a
// healthy calculator needs.
constexpr UINT kAnswerTimeoutMs = 3000;

std::string FolderOfThisProgram() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

struct FindContext {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK FindCalculatorWindow(HWND window, LPARAM context_pointer) {
  auto* context = reinterpret_cast<FindContext*>(context_pointer);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char caption[32] = {};
  if (owner == context->process_id && GetWindowTextA(window, caption, sizeof caption) > 0 &&
      std::string_view(caption) == "lumo calc") {
    context->found = window;
    return FALSE;
  }
  return TRUE;
}

void SendInputs(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT KeyInput(WORD virtual_key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtual_key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

}  // namespace

std::string ProgramPath(std::string_view exe_name) {
  return FolderOfThisProgram() + LUMOCALC_PROGRAM_FOLDER + std::string(exe_name);
}

std::string MakeScratchFolder() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  static int counter = 0;
  for (;;) {
    const std::string folder = std::string(temp) + "lumocalc-test-" +
                               std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++counter);
    if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
  }
}

bool WaitUntil(const std::function<bool()>& done, int timeout_ms) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeout_ms);
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(1);
  }
}

std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                           &length)) {
    return "<no answer>";
  }
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &copied);
  text.resize(copied);
  return text;
}

DialogUnits::DialogUnits() {
  // The calculator's template font; style and size don't change the units.
  std::vector<WORD> words = {
      LOWORD(DS_SETFONT), HIWORD(DS_SETFONT), 0, 0, 0, 0, 0, 10, 10, 0, 0, 0, 8};
  for (const char c : std::string_view("MS Sans Serif")) words.push_back(static_cast<WORD>(c));
  words.push_back(0);
  dialog_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                       reinterpret_cast<LPCDLGTEMPLATEA>(words.data()), nullptr,
                                       nullptr, 0);
  RECT rect = {0, 0, 1024, 1024};
  MapDialogRect(dialog_, &rect);
  per_1024_ = {rect.right, rect.bottom};
}

DialogUnits::~DialogUnits() {
  DestroyWindow(dialog_);
}

PixelSize DialogUnits::ToPixels(int width_units, int height_units) const {
  RECT rect = {0, 0, width_units, height_units};
  MapDialogRect(dialog_, &rect);
  return {rect.right, rect.bottom};
}

POINT DialogUnits::ToPixels(POINT units) const {
  RECT rect = {units.x, units.y, 0, 0};
  MapDialogRect(dialog_, &rect);
  return {rect.left, rect.top};
}

Calculator::Calculator(std::string_view exe_name, std::string_view arguments,
                       const std::string& folder) {
  const std::string program = ProgramPath(exe_name);
  std::string command_line = "\"" + program + "\"";
  if (!arguments.empty()) command_line.append(" ").append(arguments);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process_)) {
    ADD_FAILURE() << "can't start " << program << ": error " << GetLastError();
    return;
  }
  WaitForInputIdle(process_.hProcess, 5000);
  FindContext context{process_.dwProcessId, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(FindCalculatorWindow, reinterpret_cast<LPARAM>(&context));
        return context.found != nullptr && IsWindowVisible(context.found);
      },
      10000);
  window_ = context.found;
  if (window_ == nullptr) ADD_FAILURE() << "no visible window \"lumo calc\" from " << program;
}

Calculator::~Calculator() {
  if (process_.hProcess == nullptr) return;
  if (Running()) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

void Calculator::TypeChar(char c) const {
  PostMessageA(input(), WM_CHAR, static_cast<unsigned char>(c), 1);
}

void Calculator::Paste(std::string_view text) const {
  const std::string copy(text);
  SendMessageTimeoutA(input(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(copy.c_str()),
                      SMTO_ABORTIFHUNG, kAnswerTimeoutMs, nullptr);
}

void Calculator::SetCaret(int position) const {
  SendMessageTimeoutA(input(), EM_SETSEL, position, position, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                      nullptr);
}

void Calculator::ClickInto(HWND control) const {
  SetForegroundWindow(window_);
  RECT rect;
  GetWindowRect(control, &rect);
  const int x = (rect.left + rect.right) / 2;
  const int y = (rect.top + rect.bottom) / 2;
  const int screen_width = GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = GetSystemMetrics(SM_CYSCREEN);
  INPUT click[2]{};
  for (INPUT& input : click) {
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, screen_width - 1);
    input.mi.dy = MulDiv(y, 65535, screen_height - 1);
  }
  click[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
  SendInputs({click[0], click[1]});
  // The click has been handled once the calculator answers a message again.
  TextOf(control);
}

void Calculator::PressKey(WORD virtual_key, bool with_alt) const {
  std::vector<INPUT> keys;
  if (with_alt) keys.push_back(KeyInput(VK_MENU, false));
  keys.push_back(KeyInput(virtual_key, false));
  keys.push_back(KeyInput(virtual_key, true));
  if (with_alt) keys.push_back(KeyInput(VK_MENU, true));
  SendInputs(keys);
}

RECT Calculator::WindowRect() const {
  RECT rect{};
  GetWindowRect(window_, &rect);
  return rect;
}

PixelSize Calculator::SizeOf(HWND control) const {
  RECT rect{};
  GetWindowRect(control, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void Calculator::PostCloseCommand() const {
  PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

long Calculator::WaitForExit(int timeout_ms) {
  if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout_ms)) != WAIT_OBJECT_0) {
    return -1;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return static_cast<long>(code);
}

bool Calculator::Running() const {
  return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}
