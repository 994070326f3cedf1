#include "term/keys.h"

#include <algorithm>

#include "term/line_edit.h"

namespace {

// Cursor keys come in the normal (CSI) and the application (SS3) form; Home
// and End as xterm, the VT220 keypad, rxvt and the Linux console send them.
constexpr KeyBinding kKeyTable[] = {
    {"\r", Action::kLineBreak},
    {"\n", Action::kLineBreak},
    {"\r\n", Action::kLineBreak},
    {"\033[D", Action::kLeft},
    {"\033OD", Action::kLeft},
    {"\033[C", Action::kRight},
    {"\033OC", Action::kRight},
    {"\033[H", Action::kHome},
    {"\033OH", Action::kHome},
    {"\033[1~", Action::kHome},
    {"\033[7~", Action::kHome},
    {"\x01", Action::kHome},  // Ctrl+A
    {"\033[F", Action::kEnd},
    {"\033OF", Action::kEnd},
    {"\033[4~", Action::kEnd},
    {"\033[8~", Action::kEnd},
    {"\x05", Action::kEnd},  // Ctrl+E
    {"\x7f", Action::kBackspace},
    {"\x08", Action::kBackspace},
    {"\033[3~", Action::kDelete},
    {"\x15", Action::kDeleteToStart},     // Ctrl+U
    {"\x0b", Action::kDeleteToEnd},       // Ctrl+K
    {"\x17", Action::kDeleteWordBefore},  // Ctrl+W
    {"\033[5~", Action::kPageUp},
    {"\033[6~", Action::kPageDown},
    {"\x03", Action::kQuit},  // Ctrl+C: the terminal is raw, so it arrives as a key
    {"\x11", Action::kQuit},  // Ctrl+Q
    {"\x04", Action::kQuitIfEmpty},
};

// Bracketed paste: the terminal wraps pasted text in these two sequences.
constexpr std::string_view kPasteStart = "\033[200~";
constexpr std::string_view kPasteEnd = "\033[201~";

// A paste keeps at most what fits in the input, and line breaks only up to
// twice that: what lies beyond could never reach the line.
constexpr std::size_t kPasteKeep = 2 * kInputLimit;

// The longest escape sequence read as one key; anything longer is cut there.
constexpr std::size_t kLongestSequence = 32;

bool IsTyped(unsigned char c) {
  return c >= 0x20 && c != 0x7f;
}

// The length of the escape sequence that `bytes` (beginning with ESC) starts
// with, or 0 while more bytes are needed to tell.
std::size_t EscapeSequenceLength(std::string_view bytes) {
  if (bytes.size() < 2) return 0;
  if (bytes[1] == 'O') return bytes.size() < 3 ? 0 : 3;  // SS3 and one byte
  if (bytes[1] != '[') return 1;  // Escape alone; what follows is a key of its own
  if (bytes.size() > 2 && bytes[2] == '[') return bytes.size() < 4 ? 0 : 4;  // console F1..F5
  // CSI: parameter and intermediate bytes, then one final byte.
  const std::size_t end = std::min(bytes.size(), kLongestSequence);
  for (std::size_t at = 2; at < end; ++at) {
    const auto c = static_cast<unsigned char>(bytes[at]);
    if (c >= 0x40 && c <= 0x7e) return at + 1;
    if (c < 0x20 || c > 0x3f) return at;  // broken off: an unknown key up to here
  }
  return end == kLongestSequence ? end : 0;
}

}  // namespace

Action ActionForSequence(std::string_view sequence) {
  const auto* found = std::find_if(std::begin(kKeyTable), std::end(kKeyTable),
                                   [&](const KeyBinding& key) { return key.sequence == sequence; });
  return found == std::end(kKeyTable) ? Action::kNone : found->action;
}

std::vector<KeyEvent> KeyDecoder::Feed(std::string_view bytes) {
  pending_.append(bytes);
  std::vector<KeyEvent> events;
  Decode(events);
  return events;
}

void KeyDecoder::Decode(std::vector<KeyEvent>& events) {
  if (in_paste_ && !TakePaste(events)) return;
  std::size_t at = 0;
  while (at < pending_.size()) {
    const std::string_view rest = std::string_view(pending_).substr(at);
    std::size_t length = 1;
    Action action = Action::kNone;
    if (rest[0] == '\033') {
      length = EscapeSequenceLength(rest);
      if (length == 0) break;
      if (rest.substr(0, length) == kPasteStart) {
        in_paste_ = true;
        pending_.erase(0, at + length);
        if (!TakePaste(events)) return;
        at = 0;
        continue;
      }
      action = ActionForSequence(rest.substr(0, length));
    } else if (IsTyped(static_cast<unsigned char>(rest[0]))) {
      // A run of characters that came in together (typed ahead, or pasted by
      // a terminal without bracketed paste) goes in as one change.
      length = static_cast<std::size_t>(
          std::find_if(rest.begin(), rest.end(),
                       [](char c) { return !IsTyped(static_cast<unsigned char>(c)); }) -
          rest.begin());
      events.push_back({Action::kInsert, std::string(rest.substr(0, length))});
    } else {
      if (rest.size() > 1 && ActionForSequence(rest.substr(0, 2)) != Action::kNone) length = 2;
      action = ActionForSequence(rest.substr(0, length));
    }
    if (action != Action::kNone) events.push_back({action, {}});
    at += length;
  }
  pending_.erase(0, at);
}

// Takes the paste that pending_ begins with; returns false while its end
// hasn't come yet.
bool KeyDecoder::TakePaste(std::vector<KeyEvent>& events) {
  const std::size_t end = pending_.find(kPasteEnd);
  if (end == std::string::npos) {
    // Keep what could be the beginning of the end sequence for the next Feed.
    const std::size_t keep = std::min(pending_.size(), kPasteEnd.size() - 1);
    AddPasted(std::string_view(pending_).substr(0, pending_.size() - keep));
    pending_.erase(0, pending_.size() - keep);
    return false;
  }
  AddPasted(std::string_view(pending_).substr(0, end));
  pending_.erase(0, end + kPasteEnd.size());
  events.push_back({Action::kPaste, std::move(paste_)});
  paste_.clear();
  pasted_ = 0;
  after_cr_ = false;
  in_paste_ = false;
  return true;
}

void KeyDecoder::AddPasted(std::string_view bytes) {
  for (const char c : bytes) {
    if (c == '\n' && after_cr_) {
      after_cr_ = false;  // the LF of a CR LF: the CR made the break already
    } else if (c == '\r' || c == '\n') {
      if (paste_.size() < kPasteKeep) paste_.append(kTerminalLineBreak);
      after_cr_ = c == '\r';
    } else {
      if (pasted_ < kInputLimit) {
        paste_.push_back(c);
        ++pasted_;
      }
      after_cr_ = false;
    }
  }
}
