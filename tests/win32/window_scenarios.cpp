// Plays the scenarios of a data file (tests/cases/window.txt, whose head tells
// the steps) against lumocalc.exe as a person would use it: typing, pasting,
// keys, resizing, closing; every text read back is compared with the engine's
// answer. A failing step prints its file and line and ends its scenario; the
// other scenarios still run.
//   window-tests CASES_FILE PROGRAM_FOLDER
//   window-tests --sessions COUNT SEED PROGRAM_FOLDER
// The second plays generated sessions (testkit/session_generator.h) of seeds
// SEED, SEED+1, ... on one started window, the line session their reference:
// after every action the input, its caret, the answer and the history must
// be the reference's. A mismatch prints its seed, the fewest of its actions
// that still fail and both states; the run ends with "N sessions, M mismatches".
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/escape.h"
#include "eval/calculate.h"
#include "number/fpu_control.h"
#include "session/calculate_typed.h"
#include "session/text_encoding.h"
#include "testkit/session_play.h"

namespace {

constexpr UINT kAnswerMs = 3000;  // far above what a healthy calculator needs to answer
constexpr int kQuietMs = 200;     // how long "the window stays open" is watched
constexpr const char* kLog = "\\lumocalc-debug.txt";
constexpr int kInput = 1011, kResult = 1012, kHistory = 1014;

using Words = std::vector<std::string>;

// Words, or texts in double quotes with the escapes of cli/escape.h; a line
// whose first word begins with # is a comment.
Words Split(const std::string& line) {
  Words words;
  std::istringstream in(line);
  for (std::string word;
       in >> std::quoted(word, '"', '\x01') && !(words.empty() && word[0] == '#');) {
    words.push_back(Unescape(word));
  }
  return words;
}

// An expected text: {LINE} stands for the engine's answer to LINE.
std::string Expand(std::string text) {
  std::size_t open = 0, close = 0;
  while ((open = text.find('{', open)) != std::string::npos &&
         (close = text.find('}', open)) != std::string::npos) {
    const std::string answer = Calculate(text.substr(open + 1, close - open - 1));
    text.replace(open, close - open + 1, answer);
    open += answer.size();
  }
  return text;
}

// A text as the data file writes it, for messages.
std::string Quoted(const std::string& text) {
  return "\"" + Escape(text) + "\"";
}

// The names the data file gives messages, commands, keys and show states.
UINT Named(const std::string& name) {
  static const std::map<std::string, UINT> kNamed = {{"WM_SYSCOMMAND", WM_SYSCOMMAND},
                                                     {"SC_CLOSE", SC_CLOSE},
                                                     {"WM_CLOSE", WM_CLOSE},
                                                     {"WM_COMMAND", WM_COMMAND},
                                                     {"IDOK", IDOK},
                                                     {"IDCANCEL", IDCANCEL},
                                                     {"Enter", VK_RETURN},
                                                     {"Escape", VK_ESCAPE},
                                                     {"F4", VK_F4},
                                                     {"minimize", SW_MINIMIZE},
                                                     {"restore", SW_RESTORE},
                                                     {"maximize", SW_MAXIMIZE}};
  const auto named = kNamed.find(name);
  if (named == kNamed.end()) throw std::invalid_argument("unknown name " + name);
  return named->second;
}

template <class Done>
bool WaitUntil(Done done, int timeout_ms = 3000) {
  for (const ULONGLONG end = GetTickCount64() + timeout_ms; !done(); Sleep(1)) {
    if (GetTickCount64() >= end) return false;
  }
  return true;
}

// Another process's window answers through messages only: GetWindowTextA reads nothing there.
LRESULT Ask(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kAnswerMs, &answer);
  return static_cast<LRESULT>(answer);
}

std::string TextOf(HWND window) {
  std::string text(Ask(window, WM_GETTEXTLENGTH) + 1, '\0');
  text.resize(Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  return text;
}

// Pixels of 1024 dialog units of the calculator's template font, from a hidden
// dialog of our own: MapDialogRect does not work on another process's dialog.
SIZE per_1024;

void MeasureDialogUnits() {
  std::vector<WORD> words = {LOWORD(DS_SETFONT), 0, 0, 0, 0, 0, 0, 10, 10, 0, 0, 0, 8};
  for (const char c : std::string("MS Sans Serif")) words.push_back(c);
  words.push_back(0);
  const HWND dialog = CreateDialogIndirectParamA(
      nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(words.data()), nullptr, nullptr, 0);
  RECT rect = {0, 0, 1024, 1024};
  MapDialogRect(dialog, &rect);
  DestroyWindow(dialog);
  per_1024 = {rect.right, rect.bottom};
}

long Pixels(double units, LONG per_1024_units) {
  return std::lround(units * per_1024_units / 1024);
}

// The folder the program runs in, the program started there, and a log held open by us.
struct Run {
  std::string programs;  // the folder of lumocalc.exe
  std::string folder;
  PROCESS_INFORMATION process{};
  HWND window = nullptr;
  HANDLE held_log = INVALID_HANDLE_VALUE;

  HWND Field(int id) const { return GetDlgItem(window, id); }
  bool Running() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; }
  void End() {
    TerminateProcess(process.hProcess, 1);  // if it still runs
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    process = {};
    window = nullptr;
  }
};

std::string Start(Run& run, const Words& words) {
  run.End();
  const std::string path = run.programs + "\\" + (words.size() > 1 ? words[1] : "lumocalc.exe");
  std::string command_line = "\"" + path + "\"";
  for (std::size_t i = 2; i < words.size(); ++i) command_line += " " + words[i];
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(path.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      run.folder.c_str(), &startup, &run.process)) {
    return "can't start " + path;
  }
  const auto shown = [&] {
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, nullptr, "lumo calc"));) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == run.process.dwProcessId) run.window = w;
    }
    return run.window != nullptr && IsWindowVisible(run.window);
  };
  return WaitUntil(shown, 5000) ? "" : "no visible window \"lumo calc\"";
}

// Each character as a WM_CHAR to the input, as a key typed.
void Type(HWND input, const std::string& text) {
  for (const char c : text) Ask(input, WM_CHAR, static_cast<unsigned char>(c), 1);
}

// The real mouse and keyboard: keys go to whatever has the focus, as a person's would.
void Click(const Run& run, HWND field) {
  SetForegroundWindow(run.window);
  RECT rect;
  GetWindowRect(field, &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

// NAME or Alt+NAME.
void Key(const std::string& name) {
  const bool alt = name.rfind("Alt+", 0) == 0;
  const std::string key_name = name.substr(alt ? 4 : 0);
  const BYTE key = key_name.size() == 1 ? VkKeyScanA(key_name[0]) : Named(key_name);
  if (alt) keybd_event(VK_MENU, 0, 0, 0);
  keybd_event(key, 0, 0, 0);
  keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
  if (alt) keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
}

// The window at W x H units (as it is, when not given, but then it must be a
// whole number of units), and the controls laid out for that size.
std::string LayoutError(const Run& run, const Words& words) {
  RECT rect;
  GetWindowRect(run.window, &rect);
  const LONG cx = per_1024.cx, cy = per_1024.cy, outer_w = rect.right - rect.left;
  const LONG outer_h = rect.bottom - rect.top;
  const int w = words.size() > 2 ? std::stoi(words[1]) : std::lround(outer_w * 1024.0 / cx);
  const int h = words.size() > 2 ? std::stoi(words[2]) : std::lround(outer_h * 1024.0 / cy);
  std::ostringstream got, want;
  if (!IsIconic(run.window)) {  // a minimized window's own rectangle is its icon's
    got << "window " << outer_w << "x" << outer_h;
    want << "window " << Pixels(w, cx) << "x" << Pixels(h, cy);
  }
  const int fields[][5] = {
      {kInput, 2, 5, w - 9, 15}, {kResult, 2, 20, w - 9, 15}, {kHistory, 2, 35, w - 9, h - 64}};
  for (const auto& f : fields) {
    GetWindowRect(run.Field(f[0]), &rect);
    POINT corner = {rect.left, rect.top};
    ScreenToClient(run.window, &corner);
    got << ", " << f[0] << " " << rect.right - rect.left << "x" << rect.bottom - rect.top << " at "
        << corner.x << "," << corner.y;
    want << ", " << f[0] << " " << Pixels(f[3], cx) << "x" << Pixels(f[4], cy) << " at "
         << Pixels(f[1], cx) << "," << Pixels(f[2], cy);
  }
  return got.str() == want.str() ? "" : "pixels: " + got.str() + "; want " + want.str();
}

std::string LogError(Run& run, const Words& words) {
  const std::string log = run.folder + kLog, op = words.at(1);
  if (op == "hold") {
    run.held_log = CreateFileA(log.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  } else if (op == "absent") {
    return GetFileAttributesA(log.c_str()) == INVALID_FILE_ATTRIBUTES ? "" : "the log exists";
  } else if (op == "locked") {
    const HANDLE other =
        CreateFileA(log.c_str(), GENERIC_READ, 7, nullptr, OPEN_EXISTING, 0, nullptr);
    const bool shared = other != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION;
    CloseHandle(other);
    return shared ? "the log is open to others" : "";
  } else if (op != "is" && op != "starts" && op != "has" && op != "lacks") {
    return "unknown step";
  }
  std::ifstream file(log, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(file), {}};
  std::size_t at = 0;
  for (std::size_t i = 2; i < words.size(); ++i) {
    const std::string want = Expand(words[i]);
    const std::size_t found = text.find(want, at);
    const bool ok = op == "is"       ? text == want
                    : op == "starts" ? text.rfind(want, 0) == 0
                                     : (found == std::string::npos) == (op == "lacks");
    if (!ok) return "the log begins " + Quoted(text.substr(0, 400));
    at = found + want.size();
  }
  return "";
}

// The icon group "CALC" holds one image, of W x H pixels and BITS bits per pixel.
std::string IconError(const Run& run, const Words& words) {
  const std::string path = run.programs + "\\" + words.at(1);
  const HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const HRSRC resource = FindResourceA(module, "CALC", RT_GROUP_ICON);
  if (resource == nullptr) return "no icon group \"CALC\"";
  // Three WORDs (the last the count), then 14-byte entries: width, height, colours, a
  // reserved byte, planes and bits per pixel.
  const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
  const std::string got = std::to_string(group[4]) + " image(s), " + std::to_string(group[6]) +
                          " " + std::to_string(group[7]) + " " + std::to_string(group[12]);
  return got == "1 image(s), " + words.at(2) + " " + words.at(3) + " " + words.at(4) ? "" : got;
}

// One step; the empty text when it did what it should.
std::string Play(Run& run, const Words& words) {
  const std::string& step = words[0];
  const std::string arg = words.size() > 1 ? words[1] : "";
  const HWND input = run.Field(kInput);
  if (step == "scenario") {  // a fresh start: nothing runs, no log
    run.End();
    CloseHandle(run.held_log);
    run.held_log = INVALID_HANDLE_VALUE;
    DeleteFileA((run.folder + kLog).c_str());
  }
  if (step == "start") return Start(run, words);
  if (step == "type") Type(input, arg);
  if (step == "paste") Ask(input, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(arg.c_str()));
  if (step == "select") Ask(input, EM_SETSEL, std::stoi(arg), std::stoi(words.at(2)));
  if (step == "click") Click(run, run.Field(arg == "history" ? kHistory : kInput));
  if (step == "key") Key(arg);
  if (step == "post")
    PostMessageA(run.window, Named(arg), words.size() > 2 ? Named(words[2]) : 0, 0);
  if (step == "show") ShowWindow(run.window, Named(arg));
  if (step == "size") {
    SetWindowPos(run.window, nullptr, 0, 0, Pixels(std::stod(arg), per_1024.cx),
                 Pixels(std::stod(words.at(2)), per_1024.cy),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (step == "place") {
    // The dialog manager puts the template's corner where the window's would be
    // without its caption: only the sizing frame lies above and left of it.
    RECT frame = {}, rect;
    AdjustWindowRectEx(&frame, GetWindowLongA(run.window, GWL_STYLE) & ~WS_CAPTION, FALSE, 0);
    GetWindowRect(run.window, &rect);
    const std::string got = std::to_string(rect.left) + "," + std::to_string(rect.top);
    const std::string want =
        std::to_string(Pixels(std::stod(arg), per_1024.cx) + frame.left) + "," +
        std::to_string(Pixels(std::stod(words.at(2)), per_1024.cy) + frame.top);
    return got == want ? "" : "the window is at " + got + " px; want " + want;
  }
  if (step == "layout") {
    std::string error;
    WaitUntil([&] { return (error = LayoutError(run, words)).empty(); });
    return error;
  }
  if (step == "expect") {
    std::string want, got;
    for (int i = 1; i <= 3; ++i) want += Quoted(Expand(words.at(i))) + " ";
    const bool ok = WaitUntil([&] {
      got.clear();
      for (const int id : {kInput, kResult, kHistory}) got += Quoted(TextOf(run.Field(id))) + " ";
      return got == want;
    });
    return ok ? "" : "the fields hold " + got + "; want " + want;
  }
  if (step == "open") {
    Sleep(kQuietMs);
    return run.Running() && IsWindowVisible(run.window) ? "" : "the window is gone";
  }
  if (step == "exit") {
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(run.process.hProcess, 5000);
    GetExitCodeProcess(run.process.hProcess, &code);
    return code == std::stoul(arg) ? "" : "exit code " + std::to_string(code);
  }
  if (step == "seed") {  // TEXT [TIMES]
    std::ofstream log(run.folder + kLog, std::ios::binary);
    for (int n = words.size() > 2 ? std::stoi(words[2]) : 1; n > 0; --n) log << arg;
  }
  if (step == "log") return LogError(run, words);
  if (step == "icon") return IconError(run, words);
  const std::string others = " scenario type paste select click key post show size seed ";
  return others.find(" " + step + " ") != std::string::npos ? "" : "unknown step";
}

std::string CalculateLine(std::string_view line) {
  return CalculateTyped(line, Calculate);
}

// The session's action, as the window takes keys and pastes: typed text a
// WM_CHAR a byte of its single-byte text, the other keys as WM_KEYDOWN.
void Carry(const Run& run, const SessionAction& action) {
  static const WPARAM kKeys[] = {0, 0, 0, VK_DELETE, VK_LEFT, VK_RIGHT, VK_HOME, VK_END};
  const HWND input = run.Field(kInput);
  // The generator gives the window only characters of that text.
  const std::string text = Windows1252FromUtf8(action.text).value();
  const Act act = action.act;
  if (act == Act::kOver || act == Act::kEmpty) {
    Ask(input, EM_SETSEL, action.from, act == Act::kOver ? action.to : -1);
  }
  if (act == Act::kPaste) Ask(input, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  if (act == Act::kType || act == Act::kOver) Type(input, text);
  if (act == Act::kBackspace || act == Act::kEmpty) Type(input, "\b");
  if (act == Act::kEnter) Type(input, "\r");
  if (act >= Act::kDelete && act <= Act::kEnd) Ask(input, WM_KEYDOWN, kKeys[int(act)], 1);
}

// Input, caret (the selection's ends), answer and history, escaped, in UTF-8.
std::string Shown(const Run& run) {
  if (!run.Running()) return "(the program has ended)";
  const LRESULT selection = Ask(run.Field(kInput), EM_GETSEL);
  return Escape(Utf8FromWindows1252(TextOf(run.Field(kInput)))) + "\n" +
         std::to_string(LOWORD(selection)) + " " + std::to_string(HIWORD(selection)) + "\n" +
         Escape(Utf8FromWindows1252(TextOf(run.Field(kResult)))) + "\n" +
         Escape(Utf8FromWindows1252(TextOf(run.Field(kHistory))));
}

std::string Expected(const LineSession& session) {
  const InputLine& line = session.Line();
  const std::string caret = std::to_string(CountCharacters(line.text.substr(0, line.caret)));
  std::string history;
  for (const std::string& entry : session.History()) history = entry + "\r\n" + history;
  return Escape(line.text) + "\n" + caret + " " + caret + "\n" + Escape(session.Answer()) + "\n" +
         Escape(history);
}

// The session on the window as a fresh start leaves it: a change evaluates
// the empty line (whatever was last evaluated before), the history is emptied.
// The program is started again only when it has ended.
std::optional<Mismatch> PlaySession(Run& run, const std::vector<SessionAction>& actions) {
  LineSession reference(CalculateLine);
  if (!run.Running() && !Start(run, {"start"}).empty()) return Mismatch{0, "", "no window"};
  // Wide enough that a session's line stays on one row: on a wrapped line
  // Home and End go to the ends of the caret's row, not of the line.
  ShowWindow(run.window, SW_MAXIMIZE);
  Ask(run.Field(kInput), EM_SETSEL, 0, -1);
  Type(run.Field(kInput), "0\b");
  Ask(run.Field(kHistory), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  for (std::size_t at = 0; at < actions.size(); ++at) {
    Apply(reference, actions[at]);
    Carry(run, actions[at]);
    const std::string expected = Expected(reference);
    if (!WaitUntil([&] { return Shown(run) == expected; }, 500)) {
      return Mismatch{at, expected, Shown(run)};
    }
  }
  return std::nullopt;
}

int PlayWindowSessions(std::uint32_t count, std::uint32_t first, const std::string& programs) {
  Run run;
  run.programs = run.folder = programs;
  const int code = PlaySessions(
      count, first, FrontEnd::kWindow, LineSession(CalculateLine),
      [&run](std::uint32_t, const std::vector<SessionAction>& actions) {
        return PlaySession(run, actions);
      },
      "input, selection, answer, history");
  run.End();
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  LoadFpuControlWord();  // the expected answers are Calculate's in the program's mode
  if (argc == 5 && std::string(argv[1]) == "--sessions") {
    return PlayWindowSessions(std::stoul(argv[2]), std::stoul(argv[3]), argv[4]);
  }
  std::ifstream cases(argc == 3 ? argv[1] : "");
  if (!cases) {
    std::fputs(
        "usage: window-tests CASES_FILE PROGRAM_FOLDER\n"
        "       window-tests --sessions COUNT SEED PROGRAM_FOLDER\n",
        stderr);
    return 2;
  }
  MeasureDialogUnits();
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  Run run;
  run.programs = argv[2];
  run.folder = temp + ("lumocalc-window-" + std::to_string(GetCurrentProcessId()));
  CreateDirectoryA(run.folder.c_str(), nullptr);
  int scenarios = 0, failed = 0, line_number = 0;
  bool failing = false;
  for (std::string line; std::getline(cases, line);) {
    ++line_number;
    const Words words = Split(line);
    if (words.empty() || (failing && words[0] != "scenario")) continue;
    std::string error;
    try {
      error = Play(run, words);
    } catch (const std::exception& e) {  // a word missing, or not a number or name
      error = e.what();
    }
    if (words[0] == "scenario") ++scenarios, failing = false;
    if (error.empty()) continue;
    failing = true, ++failed;
    std::printf("%s:%d: %s\n    %s\n", argv[1], line_number, line.c_str(), error.c_str());
  }
  run.End();
  std::printf("%d passed, %d failed\n", scenarios - failed, failed);
  return failed == 0 && scenarios > 0 ? 0 : 1;
}
