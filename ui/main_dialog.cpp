#include "ui/main_dialog.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "eval/calculate.h"
#include "number/fpu_control.h"
#include "session/input_handling.h"
#include "ui/layout.h"

namespace {

// The line last handed to Calculate and its answer, for the whole run.
std::string LastLine;
std::string LastResult;

// Whether the modal run has started routing the dialog's messages to
// MainDialogProc; what the dialog receives while it is built does not get there.
bool RunStarted = false;
int ModalResult = 0;

// The template's fields. The caption is shown on a caption bar that every
// overlapped window gets; without WS_MAXIMIZEBOX the window can be minimized
// but not maximized, and without DS_CENTER it opens at the fixed position.
constexpr DWORD kDialogStyle =
    WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;
constexpr std::string_view kCaption = "lumo calc";
constexpr short kDialogX = 153, kDialogY = 189, kDialogWidth = 264, kDialogHeight = 96;
// The template font defines the dialog units; the controls get another font.
constexpr WORD kTemplateFontPoints = 8;
constexpr std::string_view kTemplateFontFace = "MS Sans Serif";

struct ControlTemplate {
  int id;
  const char* window_class;
  DWORD style;
  RECT units;  // left, top, right, bottom
};

// No WS_TABSTOP anywhere and no buttons: Enter and Escape close nothing.
// The input wants Enter (ES_WANTRETURN) as its commit key and wraps long lines
// rather than scrolling sideways; the result is cut at its right edge.
constexpr ControlTemplate kControls[] = {
    {IDC_INPUT,
     "EDIT",
     WS_CHILD | WS_VISIBLE | WS_BORDER | ES_WANTRETURN | ES_AUTOVSCROLL | ES_MULTILINE,
     {2, 5, 2 + 255, 5 + 15}},
    {IDC_RESULT, "STATIC", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, {2, 20, 2 + 255, 20 + 15}},
    {IDC_HISTORY,
     "EDIT",
     WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_READONLY | ES_MULTILINE,
     {2, 35, 2 + 255, 35 + 40}},
};

static_assert(kDialogStyle == 0x000E0054);
static_assert(kControls[0].style == 0x50801044);
static_assert(kControls[1].style == 0x5000000C);
static_assert(kControls[2].style == 0x50200804);

void AppendWide(std::vector<WORD>& words, std::string_view text) {
  for (const char c : text) words.push_back(static_cast<unsigned char>(c));
  words.push_back(0);
}

// A DLGTEMPLATE and its variable part, word by word: no menu, the platform's
// dialog class, the caption, the font. No controls: they are created
// afterwards, in a fixed order, and sized by the resize rule.
std::vector<WORD> MakeDialogTemplate() {
  std::vector<WORD> words;
  words.push_back(LOWORD(kDialogStyle));
  words.push_back(HIWORD(kDialogStyle));
  words.push_back(0);  // extended style, low and high word
  words.push_back(0);
  words.push_back(0);  // number of controls
  for (const short field : {kDialogX, kDialogY, kDialogWidth, kDialogHeight}) {
    words.push_back(static_cast<WORD>(field));
  }
  words.push_back(0);  // menu: none
  words.push_back(0);  // window class: the dialog class
  AppendWide(words, kCaption);
  words.push_back(kTemplateFontPoints);
  AppendWide(words, kTemplateFontFace);
  return words;
}

// The platform scales the one 64 x 64 image of "calc" to both sizes.
void SetIcons(HWND dialog, HINSTANCE instance) {
  const HANDLE big = LoadImageA(instance, "calc", IMAGE_ICON, 32, 32, 0);
  SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  const HANDLE small = LoadImageA(instance, "calc", IMAGE_ICON, 16, 16, 0);
  SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void CreateControls(HWND dialog, HINSTANCE instance) {
  const LPARAM dialog_font = SendMessageA(dialog, WM_GETFONT, 0, 0);
  for (const ControlTemplate& control : kControls) {
    RECT pixels = control.units;
    MapDialogRect(dialog, &pixels);
    const HWND window = CreateWindowExA(
        0, control.window_class, "", control.style, pixels.left, pixels.top,
        pixels.right - pixels.left, pixels.bottom - pixels.top, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
    SendMessageA(window, WM_SETFONT, static_cast<WPARAM>(dialog_font), TRUE);
  }
}

// The control font: bold 12-point Tahoma at the screen's vertical resolution,
// read anew each time the window is built.
LOGFONTA MakeControlFont() {
  const HDC screen = GetDC(nullptr);
  LoadFpuControlWord();
  const int logpixelsy = GetDeviceCaps(screen, LOGPIXELSY);
  LoadFpuControlWord();
  ReleaseDC(nullptr, screen);
  LoadFpuControlWord();

  LOGFONTA font;
  std::memset(&font, 0, sizeof font);  // also the rest of the face name
  font.lfHeight = ControlFontHeight(logpixelsy);
  font.lfWidth = 0;
  font.lfEscapement = 0;
  font.lfOrientation = 0;
  font.lfWeight = FW_BOLD;
  font.lfItalic = FALSE;
  font.lfUnderline = FALSE;
  font.lfStrikeOut = FALSE;
  font.lfCharSet = ANSI_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = 0;
  std::memcpy(font.lfFaceName, "Tahoma", sizeof "Tahoma");
  return font;
}

std::string ReadText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  const int length = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return text;
}

// Sets a window's size in units of the dialog, leaving its position.
void SetSizeInUnits(HWND dialog, HWND window, Size units) {
  RECT pixels = {0, 0, units.width, units.height};
  MapDialogRect(dialog, &pixels);
  SetWindowPos(window, nullptr, 0, 0, pixels.right, pixels.bottom, SWP_NOMOVE | SWP_NOZORDER);
}

// The resize rule: the window is held to its minimum and to whole units, and
// the controls follow its width and (the history) its height. Runs on every
// qualifying notification, also when nothing was raised.
void OnSize(HWND dialog) {
  RECT outer;
  GetWindowRect(dialog, &outer);
  RECT per_1024 = {0, 0, 1024, 1024};
  if (!MapDialogRect(dialog, &per_1024)) per_1024 = RECT{0, 0, 0, 0};
  const Layout layout = LayoutForWindow({PixelsToUnits(outer.right - outer.left, per_1024.right),
                                         PixelsToUnits(outer.bottom - outer.top, per_1024.bottom)});
  SetSizeInUnits(dialog, dialog, layout.window);
  SetSizeInUnits(dialog, GetDlgItem(dialog, IDC_INPUT), layout.input);
  SetSizeInUnits(dialog, GetDlgItem(dialog, IDC_RESULT), layout.result);
  SetSizeInUnits(dialog, GetDlgItem(dialog, IDC_HISTORY), layout.history);
  RedrawWindow(dialog, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);  // 0x185
}

// Every change of the input: evaluate it live, or on a line break commit the
// answer shown (or take the break out again when there is nothing to commit).
// Texts set here raise no change notification on the multi-line input.
void OnInputChange(HWND dialog) {
  const HWND input = GetDlgItem(dialog, IDC_INPUT);
  const HWND result = GetDlgItem(dialog, IDC_RESULT);
  const std::string text = ReadText(input);
  const InputChange change = ReactToInputChange(text, LastLine, LastResult, Calculate);
  switch (change.reaction) {
    case InputReaction::kNothing:
      break;
    case InputReaction::kShowResult:
      SetWindowTextA(result, change.text.c_str());
      break;
    case InputReaction::kCommit: {
      const HWND history = GetDlgItem(dialog, IDC_HISTORY);
      SetWindowTextA(history, PrependToHistory(change.text, ReadText(history)).c_str());
      SetWindowTextA(input, "");
      SetWindowTextA(result, "");
      break;
    }
    case InputReaction::kRefuse: {
      // Setting the text puts the caret at the start; a person correcting the
      // line wants it where the line break went in.
      DWORD caret = 0;
      SendMessageA(input, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
      caret = static_cast<DWORD>(RemoveLineBreaks(text.substr(0, caret)).size());
      SetWindowTextA(input, change.text.c_str());
      SendMessageA(input, EM_SETSEL, caret, caret);
      break;
    }
  }
}

// The dialog's procedure as the platform sees it: the modal run's own part
// (activation, the close command) around MainDialogProc.
INT_PTR CALLBACK ModalRunProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!RunStarted) return FALSE;
  // Answered here, so the default dialog handling neither saves nor restores
  // the focused control when the window is deactivated or activated.
  if (message == WM_ACTIVATE) return TRUE;
  MainDialogProc(dialog, message, wparam, lparam);
  // The user's close command (close button, Alt+F4, the system menu) is the
  // only way out; Enter and Escape end nothing, as no command is handled.
  if (message == WM_SYSCOMMAND && LOWORD(wparam) == SC_CLOSE) {
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    ModalResult = 0;
    DestroyWindow(dialog);
    return TRUE;
  }
  return FALSE;
}

// The modal run by hand: the window is laid out before it is first shown,
// then every message of the thread goes through the dialog keyboard handling
// until the window is gone. An empty queue is waited on, not polled.
int RunModal(HWND dialog) {
  MainDialogProc(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(dialog), 0);
  RECT client;
  GetClientRect(dialog, &client);
  MainDialogProc(dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  ModalResult = 0;
  RunStarted = true;
  ShowWindow(dialog, SW_SHOW);
  while (IsWindow(dialog)) {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    if (!IsDialogMessageA(dialog, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  RunStarted = false;
  return ModalResult;
}

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_SIZE:
      if (IsLayoutSizeType(static_cast<unsigned>(wparam))) OnSize(dialog);
      break;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDC_INPUT && HIWORD(wparam) == EN_CHANGE) OnInputChange(dialog);
      break;
    default:
      break;
  }
  return 0;
}

int ShowMainDialog(HWND owner) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  const std::vector<WORD> dialog_template = MakeDialogTemplate();
  const HWND dialog = CreateDialogIndirectParamA(
      instance, reinterpret_cast<LPCDLGTEMPLATEA>(dialog_template.data()), owner, ModalRunProc, 0);
  if (dialog == nullptr) return 0;

  SetIcons(dialog, instance);
  CreateControls(dialog, instance);
  const LOGFONTA font_description = MakeControlFont();
  const HFONT font = CreateFontIndirectA(&font_description);
  LoadFpuControlWord();
  for (const ControlTemplate& control : kControls) {
    SendMessageA(GetDlgItem(dialog, control.id), WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  }

  const int result = RunModal(dialog);
  DeleteObject(font);
  LoadFpuControlWord();
  return result;
}
