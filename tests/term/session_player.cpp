// Generated sessions (testkit/session_generator.h), the line session their
// reference:
//   session-player terminal COUNT SEED   plays the sessions of seeds SEED,
//       SEED+1, ... on lumocalc in a pseudo-terminal rendered by libvterm,
//       with the keys a terminal sends, every third a few bytes at a time;
//       after every action the input and caret, the answer, the waiting count
//       in the rule and the history must be the reference's. Ends with
//       "N sessions, M mismatches"; a mismatch prints its seed, the fewest of
//       its actions that still fail and both screens (one that a second play
//       doesn't repeat is printed, and not counted).
//   session-player page COUNT SEED [KEEP]   the page's sessions for its
//       player (tests/web/page.test.mjs): every action with what the
//       reference holds after it. KEEP ("0,3,4"): only those actions.
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/escape.h"
#include "eval/calculate.h"
#include "number/fpu_control.h"
#include "session/calculate_typed.h"
#include "session/text_encoding.h"
#include "term/keys.h"
#include "testkit/pty_screen.h"
#include "testkit/session_play.h"

namespace {

constexpr int kCols = 100;
constexpr int kRows = 30;
constexpr int kTimeoutMs = 3000;
// Long enough for the keys to have paused, by lumocalc's clock.
constexpr auto kQuiet = std::chrono::milliseconds(3 * kKeyGapMs);

std::string CalculateLine(std::string_view line) {
  return CalculateTyped(line, Calculate);
}

std::string Keys(const SessionAction& action) {
  static const char* const kKeys[] = {"",       "",       "\x7f",   "\x1b[3~",   "\x1b[D",
                                      "\x1b[C", "\x1b[H", "\x1b[F", "\x1b[H",    "\r",
                                      "\x1b",   "\x1b[A", "\x1b[B", "\x1b[H\x0b"};
  std::string keys = kKeys[int(action.act)];
  // No selection in a terminal: the caret goes to it, and Delete over it.
  for (std::size_t at = 0; at < action.to; ++at) keys += at < action.from ? "\x1b[C" : "\x1b[3~";
  const bool lines = action.text.find_first_of("\r\n") != std::string::npos;
  if (action.act == Act::kPaste || lines) return keys + "\x1b[200~" + action.text + "\x1b[201~";
  return keys + action.text;
}

// A text as a row shows it: a character a column, "?" for one the terminal
// doesn't show in one; its end behind "<" when it is too long.
std::string Shown(std::string_view text) {
  std::vector<std::string> cells;
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Character c = DecodeUtf8(text, at);
    const bool plain = c.well_formed && c.code >= 0x20 && (c.code < 0x7f || c.code >= 0xa0) &&
                       wcwidth(static_cast<wchar_t>(c.code)) == 1;
    cells.push_back(plain ? std::string(text.substr(at, c.length)) : "?");
    at += c.length;
  }
  if (cells.size() > kCols) {
    cells.erase(cells.begin(), cells.end() - kCols);
    cells[0] = "<";
  }
  std::string shown;
  for (const std::string& cell : cells) shown += cell;
  return shown.erase(shown.find_last_not_of(' ') + 1);
}

// What the reference holds: input, caret (characters), answer, waiting
// count, history newest first.
std::vector<std::string> State(const LineSession& session) {
  const InputLine& line = session.Line();
  std::vector<std::string> state = {
      line.text, std::to_string(CountCharacters(line.text.substr(0, line.caret))), session.Answer(),
      std::to_string(session.WaitingCount())};
  state.insert(state.end(), session.History().rbegin(), session.History().rend());
  return state;
}

// The rows that tell, a line each: input, caret column, answer, the waiting
// count in the rule, history.
std::string Expected(const LineSession& session) {
  std::vector<std::string> state = State(session);
  state.resize(kRows + 1);
  const std::string& waiting = state[3];
  std::string picture = Shown(state[0]) + "\n" + state[1] + "\n" + Shown(state[2]) + "\n" +
                        (waiting == "0" ? "" : "+" + waiting + " more line") +
                        (waiting == "0" || waiting == "1" ? "\n" : "s\n");
  for (std::size_t row = 4; row <= kRows; ++row) picture += Shown(state[row]) + "\n";
  return picture;
}

std::string Seen(const PtyScreen& screen) {
  static const std::regex kWaiting(R"(\+\d+ more lines?)");
  std::smatch waiting;
  const std::string rule = screen.Row(2);
  std::string picture = screen.Row(0) + "\n" + std::to_string(screen.Cursor().second) + "\n" +
                        screen.Row(1) + "\n" +
                        (std::regex_search(rule, waiting, kWaiting) ? waiting.str() : "") + "\n";
  for (int row = 3; row < kRows; ++row) picture += screen.Row(row) + "\n";
  return picture;
}

std::optional<Mismatch> Play(std::uint32_t seed, const std::vector<SessionAction>& actions) {
  PtyScreen screen(LUMOCALC_TERM, kCols, kRows);
  if (!screen.Await([&] { return !screen.Row(2).empty(); }, kTimeoutMs)) return Mismatch{};
  LineSession reference(CalculateLine);
  bool holding = false;
  for (std::size_t at = 0; at < actions.size(); ++at) {
    // Text (Enter too) that closely follows a refused line is the rest of its paste.
    const Act act = actions[at].act;
    const bool text =
        act == Act::kType || act == Act::kPaste || act == Act::kOver || act == Act::kEnter;
    if (holding && text) std::this_thread::sleep_for(kQuiet);
    Apply(reference, actions[at]);
    holding = (holding && !text) || reference.Holding();
    const std::string keys = Keys(actions[at]);
    // The pieces follow from the seed and the keys alone, so that the action
    // is cut the same way in a shorter list.
    std::uint32_t mixed = seed;
    for (const char c : keys) mixed = mixed * 31 + static_cast<unsigned char>(c);
    std::mt19937 pieces(mixed);
    for (std::size_t sent = 0; sent < keys.size();) {
      const std::size_t piece = seed % 3 == 0 ? 1 + pieces() % 8 : keys.size();
      screen.Send(std::string_view(keys).substr(sent, piece));
      sent += piece;
      if (sent < keys.size()) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    // A lone Escape is the key once no more bytes follow: the awaited
    // screen without waiting lines shows that the pause has come.
    holding = holding && act != Act::kDrop;
    const std::string expected = Expected(reference);
    if (!screen.Await([&] { return Seen(screen) == expected; }, kTimeoutMs)) {
      return Mismatch{at, expected, Seen(screen)};
    }
  }
  return std::nullopt;
}

// A line an action, its fields apart by tabs, texts escaped (cli/escape.h):
// its name, selection and text, then the reference's State after it.
void PrintSession(std::uint32_t seed, const std::vector<SessionAction>& actions) {
  LineSession session(CalculateLine);
  std::printf("session %u\n", seed);
  for (const SessionAction& action : actions) {
    Apply(session, action);
    const std::string name = Describe(action);
    std::string row = name.substr(0, name.find(' ')) + "\t" + std::to_string(action.from) + "\t" +
                      std::to_string(action.to) + "\t" + Escape(action.text);
    for (const std::string& field : State(session)) row += "\t" + Escape(field);
    std::puts(row.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  LoadFpuControlWord();
  std::setlocale(LC_CTYPE, "C.UTF-8");
  const std::string mode = argc > 1 ? argv[1] : "";
  if (argc < 4 || (mode != "terminal" && mode != "page")) {
    std::fputs("usage: session-player terminal|page COUNT SEED [KEEP]\n", stderr);
    return 2;
  }
  const auto count = static_cast<std::uint32_t>(std::stoul(argv[2]));
  const auto first = static_cast<std::uint32_t>(std::stoul(argv[3]));
  if (mode == "terminal") {
    return PlaySessions(count, first, FrontEnd::kTerminal, LineSession(CalculateLine), Play,
                        "input, caret, answer, waiting, history");
  }
  for (std::uint32_t seed = first; seed - first < count; ++seed) {
    const auto actions = GenerateSession(seed, FrontEnd::kPage, LineSession(CalculateLine));
    std::vector<SessionAction> kept;
    std::istringstream list(argc > 4 ? argv[4] : "");
    for (std::size_t at = 0; list >> at; list.ignore()) kept.push_back(actions.at(at));
    PrintSession(seed, argc > 4 ? kept : actions);
  }
  return 0;
}
