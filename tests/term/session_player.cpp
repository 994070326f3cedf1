// Plays generated sessions (testkit/session_generator.h) on lumocalc in a
// pseudo-terminal rendered by libvterm, with the keys a terminal sends, and
// after every action compares the screen with the line session's state: the
// input and the caret, the answer, the waiting count in the rule and the
// history. Every third session goes a few bytes at a time, as a terminal may
// write its keys and pastes.
//   term-session-player COUNT SEED     the sessions of seeds SEED, SEED+1, ...
// Ends with "N sessions, M mismatches"; a mismatch prints its seed, the
// fewest of its actions that still fail and both screens. One that a second
// play doesn't repeat is printed, and not counted.
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <random>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "eval/calculate.h"
#include "number/fpu_control.h"
#include "session/calculate_typed.h"
#include "session/text_encoding.h"
#include "term/keys.h"
#include "testkit/pty_screen.h"
#include "testkit/session_generator.h"

namespace {

constexpr int kCols = 100;
constexpr int kRows = 30;
constexpr int kTimeoutMs = 3000;
// Long enough for the keys to have paused, by lumocalc's clock.
constexpr auto kQuiet = std::chrono::milliseconds(2 * kKeyGapMs);

std::string CalculateLine(std::string_view line) {
  return CalculateTyped(line, Calculate);
}

std::string Pasted(const std::string& text) {
  return "\x1b[200~" + text + "\x1b[201~";
}

std::string Keys(const SessionAction& action) {
  static const char* const kKeys[] = {"",       "",       "\x7f",   "\x1b[3~",   "\x1b[D",
                                      "\x1b[C", "\x1b[H", "\x1b[F", "",          "\r",
                                      "\x1b",   "\x1b[A", "\x1b[B", "\x1b[H\x0b"};
  switch (action.act) {
    case Act::kType:
      return action.text;
    case Act::kPaste:
      return Pasted(action.text);
    case Act::kOver: {  // no selection in a terminal: the caret to it, and Delete over it
      std::string keys = "\x1b[H";
      for (std::size_t at = 0; at < action.from; ++at) keys += "\x1b[C";
      for (std::size_t at = action.from; at < action.to; ++at) keys += "\x1b[3~";
      const bool lines = action.text.find_first_of("\r\n") != std::string::npos;
      return keys + (lines ? Pasted(action.text) : action.text);
    }
    default:
      return kKeys[static_cast<int>(action.act)];
  }
}

// A text as the screen shows it in `width` columns: a character a column, a
// "?" for one the terminal doesn't show in one; its end behind "<" when too long.
std::string Shown(std::string_view text, std::size_t width) {
  std::vector<std::string> cells;
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Character c = DecodeUtf8(text, at);
    const bool plain = c.well_formed && c.code >= 0x20 && (c.code < 0x7f || c.code >= 0xa0) &&
                       wcwidth(static_cast<wchar_t>(c.code)) == 1;
    cells.push_back(plain ? std::string(text.substr(at, c.length)) : "?");
    at += c.length;
  }
  if (cells.size() > width) {
    cells.erase(cells.begin(), cells.end() - static_cast<long>(width));
    cells[0] = "<";
  }
  std::string shown;
  for (const std::string& cell : cells) shown += cell;
  return shown.erase(shown.find_last_not_of(' ') + 1);
}

// The rows that tell: input, caret, answer, the rule's waiting count, history.
std::vector<std::string> Expected(const LineSession& session) {
  const InputLine& line = session.Line();
  const std::size_t waiting = session.WaitingCount();
  std::vector<std::string> rows = {
      Shown(line.text, kCols), std::to_string(CountCharacters(line.text.substr(0, line.caret))),
      Shown(session.Answer(), kCols),
      waiting == 0 ? ""
                   : "+" + std::to_string(waiting) + (waiting == 1 ? " more line" : " more lines")};
  const auto& history = session.History();
  for (std::size_t row = 0; row + 3 < kRows; ++row) {
    rows.push_back(row < history.size() ? Shown(history[history.size() - 1 - row], kCols) : "");
  }
  return rows;
}

std::vector<std::string> Seen(const PtyScreen& screen) {
  static const std::regex kWaiting(R"(\+\d+ more lines?)");
  std::smatch waiting;
  const std::string rule = screen.Row(2);
  std::vector<std::string> rows = {screen.Row(0), std::to_string(screen.Cursor().second),
                                   screen.Row(1),
                                   std::regex_search(rule, waiting, kWaiting) ? waiting.str() : ""};
  for (int row = 3; row < kRows; ++row) rows.push_back(screen.Row(row));
  return rows;
}

struct Mismatch {
  std::size_t action = 0;  // after which the screen differs
  std::vector<std::string> expected, seen;
};

std::optional<Mismatch> Play(const std::vector<SessionAction>& actions, std::uint32_t seed) {
  PtyScreen screen(LUMOCALC_TERM, kCols, kRows);
  if (!screen.Await([&] { return !screen.Row(2).empty(); }, kTimeoutMs)) return Mismatch{};
  LineSession reference(CalculateLine);
  std::mt19937 pieces(seed);
  const bool in_pieces = seed % 3 == 0;

  bool holding = false;
  for (std::size_t at = 0; at < actions.size(); ++at) {
    const Act act = actions[at].act;
    // Text that closely follows a refused line is the rest of its paste (Enter too).
    const bool text =
        act == Act::kType || act == Act::kPaste || act == Act::kOver || act == Act::kEnter;
    if (holding && text) std::this_thread::sleep_for(kQuiet);
    holding = holding && !text;
    Apply(reference, actions[at]);
    const std::string keys = Keys(actions[at]);
    for (std::size_t sent = 0; sent < keys.size();) {
      const std::size_t piece = in_pieces ? 1 + pieces() % 8 : keys.size();
      screen.Send(std::string_view(keys).substr(sent, piece));
      sent += piece;
      if (in_pieces) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    holding = act != Act::kDrop && (holding || reference.Holding());
    const std::vector<std::string> expected = Expected(reference);
    if (!screen.Await([&] { return Seen(screen) == expected; }, kTimeoutMs)) {
      return Mismatch{at, expected, Seen(screen)};
    }
  }
  return std::nullopt;
}

// Prints the mismatch; false when the session, played again, doesn't differ
// (the machine too busy for lumocalc to tell a pause from a burst).
bool Report(std::uint32_t seed, std::vector<SessionAction> actions, const Mismatch& first) {
  actions.resize(first.action + 1);
  const bool again = Play(actions, seed).has_value();
  for (std::size_t at = 0; again && at < actions.size();) {
    std::vector<SessionAction> fewer = actions;
    fewer.erase(fewer.begin() + static_cast<long>(at));
    if (!fewer.empty() && Play(fewer, seed)) {
      actions = std::move(fewer);
    } else {
      ++at;
    }
  }
  const Mismatch last = Play(actions, seed).value_or(first);
  std::printf("seed %u: the screen differs after these actions%s:\n", seed,
              again ? "" : " (once: not when played again)");
  for (const SessionAction& action : actions) std::printf("  %s\n", Describe(action).c_str());
  static const char* const kRowNames[] = {"input", "caret", "answer", "waiting"};
  for (std::size_t row = 0; row < last.expected.size(); ++row) {
    if (row > 4 && last.expected[row].empty() && last.seen[row].empty()) continue;
    std::printf("  %-8s %c expected |%s|\n  %8s   seen     |%s|\n",
                row < 4 ? kRowNames[row] : "history",
                last.expected[row] == last.seen[row] ? ' ' : '*', last.expected[row].c_str(), "",
                last.seen[row].c_str());
  }
  return again;
}

}  // namespace

int main(int argc, char** argv) {
  LoadFpuControlWord();
  std::setlocale(LC_CTYPE, "C.UTF-8");
  if (argc != 3) {
    std::fputs("usage: term-session-player COUNT SEED\n", stderr);
    return 2;
  }
  const auto count = static_cast<std::uint32_t>(std::stoul(argv[1]));
  const auto first = static_cast<std::uint32_t>(std::stoul(argv[2]));
  std::uint32_t mismatches = 0;
  for (std::uint32_t seed = first; seed - first < count; ++seed) {
    const auto actions = GenerateSession(seed, FrontEnd::kTerminal, LineSession(CalculateLine));
    const auto mismatch = Play(actions, seed);
    if (mismatch && Report(seed, actions, *mismatch)) ++mismatches;
  }
  std::printf("%u sessions, %u mismatches\n", count, mismatches);
  return mismatches == 0 ? 0 : 1;
}
