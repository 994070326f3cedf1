// lumocalc.exe seen from outside: what a person does with the window and
// what they see, with every shown text compared with the engine's answer.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "eval/calculate.h"
#include "tests/win32/driver.h"
#include "ui/layout.h"

namespace {

const std::string kError = "Erreur de syntaxe";
constexpr int kQuietMs = 200;  // how long "nothing changes" is watched

// Types the line character by character; after each one the result field must
// show what the engine answers for the line so far.
void TypeLine(const Calculator& calculator, std::string_view line) {
  std::string typed;
  for (const char c : line) {
    calculator.TypeChar(c);
    typed.push_back(c);
    const std::string expected = Calculate(typed);
    ASSERT_TRUE(WaitUntil([&] { return calculator.Input() == typed; })) << "typing " << typed;
    ASSERT_TRUE(WaitUntil([&] { return calculator.Result() == expected; }))
        << "after typing \"" << typed << "\" the result shows \"" << calculator.Result()
        << "\", the engine says \"" << expected << "\"";
  }
}

void PressEnterInInput(const Calculator& calculator) {
  calculator.TypeChar('\r');
}

void ExpectTexts(const Calculator& calculator, const std::string& input, const std::string& result,
                 const std::string& history, const char* when) {
  EXPECT_TRUE(WaitUntil([&] {
    return calculator.Input() == input && calculator.Result() == result &&
           calculator.History() == history;
  })) << when
      << ": input \"" << calculator.Input() << "\" (want \"" << input << "\"), result \""
      << calculator.Result() << "\" (want \"" << result << "\"), history \"" << calculator.History()
      << "\" (want \"" << history << "\")";
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// ---------------------------------------------------------------- the window

TEST(Window, OpensEmptyWithItsThreeFieldsInOrder) {
  Calculator calculator;
  ASSERT_TRUE(calculator.started());
  char caption[64] = {};
  GetWindowTextA(calculator.window(), caption, sizeof caption);
  EXPECT_STREQ(caption, "lumo calc");

  const LONG dialog_style = GetWindowLongA(calculator.window(), GWL_STYLE);
  EXPECT_EQ(dialog_style & 0x000E0000, 0x000E0000) << std::hex << dialog_style;
  EXPECT_EQ(dialog_style & (WS_MAXIMIZEBOX | WS_POPUP | WS_CHILD), 0) << std::hex << dialog_style;

  const struct {
    int id;
    const char* window_class;
    LONG style;  // WS_BORDER aside: an edit draws its border itself and drops the bit
  } fields[] = {
      {1011, "Edit", 0x50001044},
      {1012, "Static", 0x5000000C},
      {1014, "Edit", 0x50200804},
  };
  HWND child = GetWindow(calculator.window(), GW_CHILD);
  for (const auto& field : fields) {
    ASSERT_NE(child, nullptr) << "missing field " << field.id;
    EXPECT_EQ(GetDlgCtrlID(child), field.id);
    char window_class[32] = {};
    GetClassNameA(child, window_class, sizeof window_class);
    EXPECT_STRCASEEQ(window_class, field.window_class) << field.id;
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    EXPECT_EQ(style & field.style, field.style) << field.id << std::hex << " style " << style;
    EXPECT_EQ(style & (WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL), 0) << field.id << std::hex << style;
    EXPECT_EQ(GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0) << field.id;
    EXPECT_EQ(TextOf(child), "") << field.id;
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "a fourth child window";
}

// The layout the window must have for its present outer size.
void ExpectLaidOut(const Calculator& calculator, const DialogUnits& units, const char* when) {
  const RECT outer = calculator.WindowRect();
  const Size outer_units{PixelsToUnits(outer.right - outer.left, units.Per1024().width),
                         PixelsToUnits(outer.bottom - outer.top, units.Per1024().height)};
  EXPECT_GE(outer_units.width, 200) << when;
  EXPECT_GE(outer_units.height, 76) << when;
  const PixelSize window = units.ToPixels(outer_units.width, outer_units.height);
  EXPECT_EQ(outer.right - outer.left, window.width) << when << ": not a whole number of units";
  EXPECT_EQ(outer.bottom - outer.top, window.height) << when << ": not a whole number of units";
  // Only the widths and the history's height follow; no field ever moves.
  const struct {
    HWND field;
    POINT position;
    Size size;
  } fields[] = {
      {calculator.input(), {2, 5}, {outer_units.width - 9, 15}},
      {calculator.result(), {2, 20}, {outer_units.width - 9, 15}},
      {calculator.history(), {2, 35}, {outer_units.width - 9, outer_units.height - 64}},
  };
  for (const auto& field : fields) {
    const int id = GetDlgCtrlID(field.field);
    const PixelSize expected = units.ToPixels(field.size.width, field.size.height);
    const PixelSize actual = calculator.SizeOf(field.field);
    EXPECT_EQ(actual.width, expected.width) << when << ", field " << id;
    EXPECT_EQ(actual.height, expected.height) << when << ", field " << id;
    RECT rect;
    GetWindowRect(field.field, &rect);
    POINT corner = {rect.left, rect.top};
    ScreenToClient(calculator.window(), &corner);
    const POINT expected_corner = units.ToPixels(field.position);
    EXPECT_EQ(corner.x, expected_corner.x) << when << ", field " << id;
    EXPECT_EQ(corner.y, expected_corner.y) << when << ", field " << id;
  }
}

void ResizeTo(const Calculator& calculator, PixelSize size) {
  SetWindowPos(calculator.window(), nullptr, 0, 0, size.width, size.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  TextOf(calculator.input());  // the calculator has answered the change
}

TEST(Window, ResizeRuleAndMinimumSize) {
  const DialogUnits units;
  Calculator calculator;
  ASSERT_TRUE(calculator.started());
  ExpectLaidOut(calculator, units, "at start");

  const struct {
    const char* name;
    Size asked;     // units
    Size expected;  // units
  } drags[] = {
      {"larger", {400, 200}, {400, 200}},
      {"narrower than the minimum", {150, 120}, {200, 120}},
      {"lower than the minimum", {300, 40}, {300, 76}},
      {"both below", {50, 20}, {200, 76}},
      {"exactly the minimum", {200, 76}, {200, 76}},
      {"back to the template size", {264, 96}, {264, 96}},
  };
  for (const auto& drag : drags) {
    ResizeTo(calculator, units.ToPixels(drag.asked.width, drag.asked.height));
    const PixelSize expected = units.ToPixels(drag.expected.width, drag.expected.height);
    EXPECT_TRUE(WaitUntil([&] {
      const RECT r = calculator.WindowRect();
      return r.right - r.left == expected.width && r.bottom - r.top == expected.height;
    })) << drag.name;
    ExpectLaidOut(calculator, units, drag.name);
  }

  // A size between whole units is set to the nearest whole units.
  const PixelSize odd = units.ToPixels(300, 100);
  ResizeTo(calculator, {odd.width + 1, odd.height + 1});
  ExpectLaidOut(calculator, units, "between units");
}

TEST(Window, MinimizeRestoreMaximize) {
  const DialogUnits units;
  Calculator calculator;
  ASSERT_TRUE(calculator.started());
  const PixelSize before = calculator.SizeOf(calculator.history());

  ShowWindow(calculator.window(), SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(calculator.window()) != FALSE; }));
  TextOf(calculator.input());
  const PixelSize minimized = calculator.SizeOf(calculator.history());
  EXPECT_EQ(minimized.width, before.width) << "minimizing changed the fields";
  EXPECT_EQ(minimized.height, before.height) << "minimizing changed the fields";

  ShowWindow(calculator.window(), SW_RESTORE);
  ASSERT_TRUE(WaitUntil([&] { return !IsIconic(calculator.window()); }));
  TextOf(calculator.input());
  ExpectLaidOut(calculator, units, "restored");

  ShowWindow(calculator.window(), SW_MAXIMIZE);
  TextOf(calculator.input());
  const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  EXPECT_GT(calculator.WindowRect().right - calculator.WindowRect().left,
            (screen.right - screen.left) / 2);
  ExpectLaidOut(calculator, units, "maximized");

  // Still working after all that.
  TypeLine(calculator, "6*7");
}

// ------------------------------------------------------------------- typing

TEST(Typing, ShowsTheEnginesAnswerAfterEveryCharacter) {
  const char* const lines[] = {"2+3*4",       "1234567.891", "1/3",    "2^0.5",
                               "(1+2)(3+4)",  "1/0",         "1,5*2",  "&H1F+&O17",
                               "2+",          "abc",         " 7 ",    "-2^2",
                               "99999999*99", "1e5",         "((2)))", "12345678901234567890"};
  Calculator calculator;
  ASSERT_TRUE(calculator.started());
  for (const char* line : lines) {
    TypeLine(calculator, line);
    // Select everything and delete it: one change to the empty text.
    SendMessageA(calculator.input(), EM_SETSEL, 0, -1);
    calculator.TypeChar('\b');
    ExpectTexts(calculator, "", "", "", line);
  }
}

TEST(Typing, DeletingCharactersReevaluates) {
  Calculator calculator;
  ASSERT_TRUE(calculator.started());
  TypeLine(calculator, "12+3");
  for (const char* left : {"12+", "12", "1", ""}) {
    calculator.TypeChar('\b');
    ExpectTexts(calculator, left, Calculate(left), "", left);
  }
}

TEST(Typing, ALongLineWrapsButStaysOneLine) {
  Calculator calculator;
  ASSERT_TRUE(calculator.started());
  const std::string line = "1+2+3+4+5+6+7+8+9+10+11+12+13+14+15+16+17+18+19+20+21+22+23+24+25";
  calculator.Paste(line);
  ExpectTexts(calculator, line, Calculate(line), "", "pasted long line");
  PressEnterInInput(calculator);
  ExpectTexts(calculator, "", "", Calculate(line) + "\r\n", "committed long line");
}

// -------------------------------------------------------------------- Enter

TEST(Enter, CommitsTheResultNewestFirst) {
  Calculator calculator;
  ASSERT_TRUE(calculator.started());
  std::string history;
  for (const char* line : {"1+1", "2*3", "10/4"}) {
    TypeLine(calculator, line);
    PressEnterInInput(calculator);
    history = Calculate(line) + "\r\n" + history;
    ExpectTexts(calculator, "", "", history, line);
  }
}

TEST(Enter, FromTheKeyboardCommits) {
  Calculator calculator;
  ASSERT_TRUE(calculator.started());
  calculator.ClickInto(calculator.input());
  TypeLine(calculator, "7*6");
  calculator.PressKey(VK_RETURN);
  ExpectTexts(calculator, "", "", Calculate("7*6") + "\r\n", "Enter key");
}

TEST(Enter, OnABlankOrFailedLineCommitsNothing) {
  Calculator calculator;
  ASSERT_TRUE(calculator.started());
  // Something in the history first: it must stay as it is.
  TypeLine(calculator, "5");
  PressEnterInInput(calculator);
  const std::string history = Calculate("5") + "\r\n";
  ExpectTexts(calculator, "", "", history, "first commit");

  const struct {
    const char* name;
    const char* line;
  } lines[] = {{"empty", ""}, {"blanks", "   "}, {"error", "2**3"}, {"letters", "abc"}};
  for (const auto& c : lines) {
    const std::string shown = Calculate(c.line);
    ASSERT_TRUE(shown.empty() || shown == kError) << c.name << " is not a blank or failed line";
    TypeLine(calculator, c.line);
    PressEnterInInput(calculator);
    ExpectTexts(calculator, c.line, shown, history, c.name);
    Sleep(kQuietMs);
    ExpectTexts(calculator, c.line, shown, history, c.name);
    SendMessageA(calculator.input(), EM_SETSEL, 0, -1);
    calculator.TypeChar('\b');
    ExpectTexts(calculator, "", "", history, c.name);
  }
}

TEST(Enter, InTheMiddleOfTheLineCommitsTheWholeLine) {
  Calculator calculator;
  ASSERT_TRUE(calculator.started());
  TypeLine(calculator, "1234");
  calculator.SetCaret(2);
  PressEnterInInput(calculator);
  ExpectTexts(calculator, "", "", Calculate("1234") + "\r\n", "Enter between 2 and 3");
}

// -------------------------------------------------------------------- paste

TEST(Paste, LineBreaksInPastedText) {
  const struct {
    const char* name;
    const char* typed;   // before the paste
    const char* pasted;  // at the end of the typed text
    const char* input;   // afterwards
    std::string result;
    std::string history;
  } cases[] = {
      {"break into an empty input: nothing to commit", "", "1+1\r\n", "1+1", "", ""},
      {"break over a valid result: committed, paste dropped", "2*3", "9\r\n9", "", "",
       Calculate("2*3") + "\r\n"},
      {"break after an error: removed again", "2**3", "\r\n", "2**3", kError, ""},
      {"CR CR LF LF: one pass leaves CR LF", "2**3", "\r\r\n\n", "2**3\r\n", kError, ""},
      {"lone LF is part of the line", "1", "\n+1", "1\n+1", Calculate("1\n+1"), ""},
      {"lone CR is part of the line", "1", "\r+1", "1\r+1", Calculate("1\r+1"), ""},
      {"no break: evaluated", "1", "+2", "1+2", Calculate("1+2"), ""},
  };
  for (const auto& c : cases) {
    Calculator calculator;
    ASSERT_TRUE(calculator.started());
    TypeLine(calculator, c.typed);
    calculator.Paste(c.pasted);
    ExpectTexts(calculator, c.input, c.result, c.history, c.name);
    Sleep(kQuietMs);
    ExpectTexts(calculator, c.input, c.result, c.history, c.name);
  }
}

TEST(Paste, TheCRLFLeftByARefusalIsABreakAtTheNextChange) {
  Calculator calculator;
  ASSERT_TRUE(calculator.started());
  TypeLine(calculator, "2**3");
  calculator.Paste("\r\r\n\n");
  ExpectTexts(calculator, "2**3\r\n", kError, "", "after the paste");
  calculator.SetCaret(0);
  calculator.TypeChar('1');  // any change: the CR LF in the text is Enter again
  ExpectTexts(calculator, "12**3", kError, "", "after the next change");
}

// ---------------------------------------------------------- keys and closing

TEST(Keys, EscapeAndEnterElsewhereLeaveTheWindowOpen) {
  Calculator calculator;
  ASSERT_TRUE(calculator.started());
  TypeLine(calculator, "3+4");
  PressEnterInInput(calculator);
  TypeLine(calculator, "8");
  const std::string history = Calculate("3+4") + "\r\n";

  calculator.ClickInto(calculator.input());
  calculator.PressKey(VK_ESCAPE);
  calculator.ClickInto(calculator.history());
  calculator.PressKey(VK_ESCAPE);
  calculator.PressKey(VK_RETURN);
  // A close message that isn't the close command ends nothing either.
  PostMessageA(calculator.window(), WM_CLOSE, 0, 0);
  PostMessageA(calculator.window(), WM_COMMAND, IDCANCEL, 0);
  PostMessageA(calculator.window(), WM_COMMAND, IDOK, 0);
  Sleep(kQuietMs);
  EXPECT_TRUE(calculator.Running());
  EXPECT_TRUE(IsWindowVisible(calculator.window()));
  ExpectTexts(calculator, "8", Calculate("8"), history, "after Escape and Enter");
}

TEST(Closing, EveryCloseCommandEndsWithExitCodeZero) {
  enum class Way { kCloseCommand, kAltF4, kAltF4AfterTyping };
  for (const Way way : {Way::kCloseCommand, Way::kAltF4, Way::kAltF4AfterTyping}) {
    Calculator calculator;
    ASSERT_TRUE(calculator.started());
    if (way == Way::kAltF4AfterTyping) {
      TypeLine(calculator, "1+2");
      PressEnterInInput(calculator);
    }
    if (way == Way::kCloseCommand) {
      calculator.PostCloseCommand();
    } else {
      calculator.ClickInto(calculator.input());
      calculator.PressKey(VK_F4, true);
    }
    EXPECT_EQ(calculator.WaitForExit(), 0) << "way " << static_cast<int>(way);
  }
}

TEST(Start, ArgumentsIgnoredAndEveryStartEmptyAtTheSamePlace) {
  RECT first_place{};
  {
    Calculator calculator("lumocalc.exe", "2+3 /s --help");
    ASSERT_TRUE(calculator.started());
    ExpectTexts(calculator, "", "", "", "started with arguments");
    first_place = calculator.WindowRect();
    TypeLine(calculator, "2+3");
    PressEnterInInput(calculator);
    TypeLine(calculator, "4");
    SetWindowPos(calculator.window(), nullptr, 10, 10, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    calculator.PostCloseCommand();
    EXPECT_EQ(calculator.WaitForExit(), 0);
  }
  Calculator calculator;
  ASSERT_TRUE(calculator.started());
  ExpectTexts(calculator, "", "", "", "next start");
  EXPECT_EQ(calculator.WindowRect().left, first_place.left);
  EXPECT_EQ(calculator.WindowRect().top, first_place.top);
  calculator.PostCloseCommand();
  EXPECT_EQ(calculator.WaitForExit(), 0);
}

// ---------------------------------------------------------------- resources

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colour_count, reserved;
  WORD planes, bit_count;
  DWORD bytes;
  WORD id;
};
struct GroupIcon {
  WORD reserved, type, count;
  GroupIconEntry entries[1];
};
#pragma pack(pop)

BOOL CALLBACK CollectType(HMODULE, LPSTR type, LONG_PTR types) {
  reinterpret_cast<std::vector<ULONG_PTR>*>(types)->push_back(reinterpret_cast<ULONG_PTR>(type));
  return TRUE;
}

TEST(Resources, TheOnlyResourceIsOneIconOf64PixelsAnd256Colours) {
  for (const char* exe : {"lumocalc.exe", "lumocalc-traced.exe"}) {
    const HMODULE module =
        LoadLibraryExA(ProgramPath(exe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << exe;
    std::vector<ULONG_PTR> types;
    EnumResourceTypesA(module, CollectType, reinterpret_cast<LONG_PTR>(&types));
    EXPECT_EQ(types, (std::vector<ULONG_PTR>{reinterpret_cast<ULONG_PTR>(RT_ICON),
                                             reinterpret_cast<ULONG_PTR>(RT_GROUP_ICON)}))
        << exe << ": no dialog, menu, string or version resources";

    const HRSRC group_resource = FindResourceA(module, "CALC", RT_GROUP_ICON);
    ASSERT_NE(group_resource, nullptr) << exe;
    const auto* group =
        static_cast<const GroupIcon*>(LockResource(LoadResource(module, group_resource)));
    ASSERT_EQ(group->count, 1) << exe;
    EXPECT_EQ(group->entries[0].width, 64);
    EXPECT_EQ(group->entries[0].height, 64);
    EXPECT_EQ(group->entries[0].bit_count, 8);

    const HRSRC image_resource =
        FindResourceA(module, MAKEINTRESOURCEA(group->entries[0].id), RT_ICON);
    ASSERT_NE(image_resource, nullptr);
    const auto* header =
        static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, image_resource)));
    EXPECT_EQ(header->biWidth, 64);
    EXPECT_EQ(header->biHeight, 128);  // colours and mask
    EXPECT_EQ(header->biBitCount, 8);
    FreeLibrary(module);
  }
}

// ---------------------------------------------------------------- debug log

TEST(DebugLog, TheDeliveredProgramTouchesNoFile) {
  const std::string empty_folder = MakeScratchFolder();
  const std::string used_folder = MakeScratchFolder();
  const std::string old_log = used_folder + "\\lumocalc-debug.txt";
  const std::string old_content = "an earlier run's log\r\n";
  std::ofstream(old_log, std::ios::binary) << old_content;

  for (const std::string& folder : {empty_folder, used_folder}) {
    Calculator calculator("lumocalc.exe", "", folder);
    ASSERT_TRUE(calculator.started());
    TypeLine(calculator, "(1+2)*3");
    PressEnterInInput(calculator);
    calculator.PostCloseCommand();
    EXPECT_EQ(calculator.WaitForExit(), 0);
  }
  EXPECT_FALSE(FileExists(empty_folder + "\\lumocalc-debug.txt"));
  EXPECT_EQ(ReadFile(old_log), old_content);
}

TEST(DebugLog, TheTracedProgramLogsWhatWasTypedAndHoldsTheLog) {
  const std::string folder = MakeScratchFolder();
  const std::string log = folder + "\\lumocalc-debug.txt";
  std::ofstream(log, std::ios::binary) << "stale lines of an earlier run\r\n";
  {
    Calculator calculator("lumocalc-traced.exe", "", folder);
    ASSERT_TRUE(calculator.started());
    TypeLine(calculator, "2+3");

    // Open and shared with nobody while the program runs.
    const HANDLE other = CreateFileA(log.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);

    calculator.PostCloseCommand();
    EXPECT_EQ(calculator.WaitForExit(), 0);
  }
  const std::string text = ReadFile(log);
  EXPECT_EQ(text.find("stale"), std::string::npos) << "the log was not emptied at start";
  const std::string rule(40, '_');
  EXPECT_EQ(text.rfind(rule + "\r\nEval> user typed 2\r\n", 0), 0u) << text;
  const std::size_t typed_2 = text.find("Eval> user typed 2\r\n");
  const std::size_t typed_2_plus = text.find("Eval> user typed 2+\r\n");
  const std::size_t typed_2_plus_3 = text.find("Eval> user typed 2+3\r\n");
  EXPECT_LT(typed_2, typed_2_plus);
  EXPECT_LT(typed_2_plus, typed_2_plus_3);
  EXPECT_NE(typed_2_plus_3, std::string::npos) << text;
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(DebugLog, ALogHeldByAnotherProgramChangesNothing) {
  const std::string folder = MakeScratchFolder();
  const std::string log = folder + "\\lumocalc-debug.txt";
  const HANDLE held = CreateFileA(log.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  {
    Calculator calculator("lumocalc-traced.exe", "", folder);
    ASSERT_TRUE(calculator.started());
    TypeLine(calculator, "1/4");
    PressEnterInInput(calculator);
    ExpectTexts(calculator, "", "", Calculate("1/4") + "\r\n", "log held elsewhere");
    calculator.PostCloseCommand();
    EXPECT_EQ(calculator.WaitForExit(), 0);
  }
  CloseHandle(held);
  EXPECT_EQ(ReadFile(log), "");
}

}  // namespace
