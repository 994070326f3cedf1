#include "testkit/session_generator.h"

#include <algorithm>
#include <random>

#include "cli/escape.h"
#include "session/text_encoding.h"

namespace {

constexpr std::size_t kLongestLine = 56;

// Draws the actions a letter each ('a' kType, 'b' kPaste, ...), a letter as
// often as it stands here.
constexpr std::string_view kWeights = "aaaaaabbbcccdeefghiijjjjjkllmnn";
constexpr std::string_view kNames[] = {"type",  "paste", "backspace", "delete", "left",
                                       "right", "home",  "end",       "over",   "enter",
                                       "drop",  "up",    "down",      "empty"};

// Pieces separated by "|". Numbers most often, so that lines are answered;
// kOdd: blanks (U+00A0 among them), parentheses, "=" that makes a line
// refused and characters the engine refuses; kWide: characters the
// single-byte text lacks (U+2212, U+202F, U+1F600).
constexpr std::string_view kNumbers =
    "1|2|7|12|305|0.5|1.25|9999|4|38|1\xC2\xA0"
    "000";
constexpr std::string_view kOperators = "+|-|*|/|^|+|*";
constexpr std::string_view kOdd = " |\xC2\xA0|(|)|=|\xC3\x97|\xE2\x82\xAC";
constexpr std::string_view kWide = "\xE2\x88\x92|\xE2\x80\xAF|\xF0\x9F\x98\x80";
constexpr std::string_view kBlankLines = "|  |\xC2\xA0| \xE2\x80\xAF";

struct Generator {
  std::mt19937 random;
  FrontEnd front_end;

  std::size_t Below(std::size_t n) { return random() % n; }

  std::string Piece(std::string_view pieces) {
    for (std::size_t skip = Below(1 + std::count(pieces.begin(), pieces.end(), '|')); skip-- > 0;) {
      pieces.remove_prefix(pieces.find('|') + 1);
    }
    return std::string(pieces.substr(0, pieces.find('|')));
  }

  std::string Typed() {
    const std::size_t draw = Below(10);
    if (draw < 4) return Piece(kNumbers);
    if (draw < 7) return Piece(kOperators) + Piece(kNumbers);
    if (draw < 8) return Piece(kOperators);
    return Piece(draw == 8 || front_end == FrontEnd::kWindow ? kOdd : kWide);
  }

  std::string Line() {
    std::string line = Piece(kNumbers);
    for (std::size_t more = Below(4); more-- > 0;) line += Piece(kOperators) + Piece(kNumbers);
    return line;
  }

  // A column of lines, each with its own line end, the last one maybe without.
  std::string Pasted() {
    if (front_end == FrontEnd::kWindow || Below(4) == 0) return Line();
    std::string text;
    for (std::size_t lines = 2 + Below(4); lines-- > 0;) {
      const std::size_t draw = Below(10);
      text += draw == 0 ? Piece(kBlankLines) : draw < 3 ? Line() + "=" : Line();
      if (lines > 0 || Below(2) == 0) text += Piece("\r|\n|\r\n");
    }
    return text;
  }

  // An action the front end has that keeps the line short enough; emptying
  // the line when none comes.
  SessionAction Next(LineSession& reference) {
    for (int tries = 0; tries < 50; ++tries) {
      SessionAction action{static_cast<Act>(kWeights[Below(kWeights.size())] - 'a'), "", 0, 0};
      const bool recall = action.act == Act::kUp || action.act == Act::kDown;
      if ((recall && front_end == FrontEnd::kWindow) ||
          (action.act == Act::kDrop && reference.WaitingCount() == 0)) {
        continue;
      }
      const std::size_t length = CountCharacters(reference.Line().text);
      action.from = Below(length + 1);
      action.to = action.from + Below(length - action.from + 1);
      if (action.act == Act::kType || action.act == Act::kOver) action.text = Typed();
      if (action.act == Act::kPaste || (action.act == Act::kOver && Below(3) == 0)) {
        action.text = Pasted();
      }
      if (action.act != Act::kOver) action.from = action.to = 0;
      LineSession after = reference;
      Apply(after, action);
      if (CountCharacters(after.Line().text) > kLongestLine) continue;
      reference = std::move(after);
      return action;
    }
    Apply(reference, {Act::kEmpty, "", 0, 0});
    return {Act::kEmpty, "", 0, 0};
  }
};

std::size_t ByteOf(std::string_view line, std::size_t characters) {
  std::size_t at = 0;
  for (; at < line.size() && characters > 0; --characters) at += DecodeUtf8(line, at).length;
  return at;
}

}  // namespace

std::vector<SessionAction> GenerateSession(std::uint32_t seed, FrontEnd front_end,
                                           LineSession reference) {
  Generator generator{std::mt19937(seed), front_end};
  std::vector<SessionAction> actions(4 + generator.Below(21));
  for (SessionAction& action : actions) action = generator.Next(reference);
  return actions;
}

void Apply(LineSession& session, const SessionAction& action) {
  using Edit = bool (*)(InputLine&);
  static constexpr Edit kEdits[] = {DeleteBefore, DeleteAt, MoveLeft, MoveRight, MoveHome, MoveEnd};
  const Act act = action.act;
  session.EndBurst();
  if (act == Act::kType || act == Act::kPaste) session.Type(action.text);
  if (act >= Act::kBackspace && act <= Act::kEnd) session.Change(kEdits[int(act) - 2]);
  if (act == Act::kEnter) session.Enter();
  if (act == Act::kDrop) session.DropWaiting();
  if (act == Act::kUp) session.RecallOlder();
  if (act == Act::kDown) session.RecallNewer();
  if (act == Act::kEmpty) session.Change([](InputLine& line) { return ReplaceText(line, ""); });
  if (act == Act::kOver) {
    const std::string& line = session.Line().text;
    session.TypeOver(ByteOf(line, action.from), ByteOf(line, action.to), action.text);
  }
}

std::string Describe(const SessionAction& action) {
  std::string line(kNames[int(action.act)]);
  if (action.act == Act::kOver) {
    line += " " + std::to_string(action.from) + " " + std::to_string(action.to);
  }
  return action.text.empty() ? line : line + " " + Escape(action.text);
}
