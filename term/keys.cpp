#include "term/keys.h"

#include <algorithm>

#include "session/input_line.h"
#include "session/text_encoding.h"

namespace {

// Cursor keys come in the normal (CSI) and the application (SS3) form; Home
// and End as xterm, the VT220 keypad, rxvt and the Linux console send them.
// Words: Alt+B and Alt+F as readline has them, Ctrl and Alt with Left and
// Right as xterm (with modifiers) and rxvt send them.
constexpr KeyBinding kKeyTable[] = {
    {"\033[D", Action::kLeft},
    {"\033OD", Action::kLeft},
    {"\x02", Action::kLeft},  // Ctrl+B
    {"\033[C", Action::kRight},
    {"\033OC", Action::kRight},
    {"\x06", Action::kRight},  // Ctrl+F
    {"\033b", Action::kWordLeft},
    {"\033[1;5D", Action::kWordLeft},
    {"\033[1;3D", Action::kWordLeft},
    {"\033Od", Action::kWordLeft},
    {"\033f", Action::kWordRight},
    {"\033[1;5C", Action::kWordRight},
    {"\033[1;3C", Action::kWordRight},
    {"\033Oc", Action::kWordRight},
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
    {"\x15", Action::kDeleteToStart},          // Ctrl+U
    {"\x0b", Action::kDeleteToEnd},            // Ctrl+K
    {"\x17", Action::kDeleteWordBefore},       // Ctrl+W
    {"\033\x7f", Action::kDeleteToWordStart},  // Alt+Backspace
    {"\033[A", Action::kRecallOlder},
    {"\033OA", Action::kRecallOlder},
    {"\x10", Action::kRecallOlder},  // Ctrl+P
    {"\033[B", Action::kRecallNewer},
    {"\033OB", Action::kRecallNewer},
    {"\x0e", Action::kRecallNewer},  // Ctrl+N
    {"\033[5~", Action::kPageUp},
    {"\033[6~", Action::kPageDown},
    {"\033", Action::kEscape},
    {"\x0c", Action::kRedraw},   // Ctrl+L
    {"\x1a", Action::kSuspend},  // Ctrl+Z: the terminal is raw, so it arrives as a key
    {"\x03", Action::kQuit},     // Ctrl+C, likewise
    {"\x1c", Action::kQuit},     // Ctrl+\, the terminal's quit key
    {"\x11", Action::kQuit},     // Ctrl+Q
    {"\x04", Action::kQuitIfEmpty},
};

// Bracketed paste: the terminal wraps pasted text in these two sequences.
constexpr std::string_view kPasteStart = "\033[200~";
constexpr std::string_view kPasteEnd = "\033[201~";
// Ctrl+C always leaves, in the middle of a paste too.
constexpr char kInterrupt = '\x03';

// A pasted line keeps what could reach the input (a character is at most
// four bytes); the rest could never get in.
constexpr std::size_t kPasteLineKeep = 4 * kInputLimit;

// The longest escape sequence read as one key; anything longer is cut there.
constexpr std::size_t kLongestSequence = 32;

bool IsTyped(unsigned char c) {
  return c >= 0x20 && c != 0x7f;
}

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

// The length of the escape sequence that `bytes` (beginning with ESC) starts
// with, or 0 while more bytes are needed to tell.
std::size_t EscapeSequenceLength(std::string_view bytes) {
  if (bytes.size() < 2) return 0;
  const auto second = static_cast<unsigned char>(bytes[1]);
  if (second == 'O') return bytes.size() < 3 ? 0 : 3;  // SS3 and one byte
  // Alt with an ASCII key; before anything else, Escape alone.
  if (second != '[') return second >= 0x20 && second <= 0x7f ? 2 : 1;
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

std::vector<KeyEvent> KeyDecoder::Flush() {
  std::vector<KeyEvent> events;
  if (in_paste_) {
    AddPasted(pending_);
    EndPaste(events);
  } else if (pending_ == "\033") {
    events.push_back({Action::kEscape, {}});
  } else if (!pending_.empty() && pending_[0] != '\033') {
    events.push_back({Action::kInsert, pending_});
    after_cr_ = false;
  }
  pending_.clear();
  return events;
}

void KeyDecoder::Decode(std::vector<KeyEvent>& events) {
  if (in_paste_ && !TakePaste(events)) return;
  std::size_t at = 0;
  while (at < pending_.size()) {
    const std::string_view rest = std::string_view(pending_).substr(at);
    const auto first = static_cast<unsigned char>(rest[0]);
    if (IsTyped(first) || IsLineEnd(rest[0])) {
      const std::size_t length = TakeTyped(rest, events);
      if (length == 0) break;
      at += length;
      continue;
    }
    after_cr_ = false;
    std::size_t length = 1;
    if (first == '\033') {
      length = EscapeSequenceLength(rest);
      if (length == 0) break;
      if (rest.substr(0, length) == kPasteStart) {
        in_paste_ = true;
        pending_.erase(0, at + length);
        if (!TakePaste(events)) return;
        at = 0;
        continue;
      }
    }
    const Action action = ActionForSequence(rest.substr(0, length));
    if (action != Action::kNone) events.push_back({action, {}});
    at += length;
  }
  pending_.erase(0, at);
}

// A run of typed text that came in together (typed ahead, or pasted by a
// terminal without bracketed paste) is one event, line ends included: the
// paste rule takes it the same way as a bracketed paste. Returns the bytes
// taken; a character still unfinished at the end waits for the next Feed.
std::size_t KeyDecoder::TakeTyped(std::string_view rest, std::vector<KeyEvent>& events) {
  std::size_t length = static_cast<std::size_t>(
      std::find_if(
          rest.begin(), rest.end(),
          [](char c) { return !IsTyped(static_cast<unsigned char>(c)) && !IsLineEnd(c); }) -
      rest.begin());
  if (length == rest.size()) length -= UnfinishedUtf8Tail(rest);
  std::string text;
  for (const char c : rest.substr(0, length)) {
    if (c == '\n' && after_cr_) {
      after_cr_ = false;  // the LF of a CR LF: the CR made the line end already
      continue;
    }
    after_cr_ = c == '\r';
    text.push_back(IsLineEnd(c) ? '\n' : c);
  }
  if (!text.empty()) events.push_back({Action::kInsert, std::move(text)});
  return length;
}

// Takes the paste that pending_ begins with; returns false while its end
// hasn't come yet.
bool KeyDecoder::TakePaste(std::vector<KeyEvent>& events) {
  const std::size_t end = pending_.find(kPasteEnd);
  const std::size_t interrupt = pending_.find(kInterrupt);
  if (interrupt < end) {
    AddPasted(std::string_view(pending_).substr(0, interrupt));
    pending_.erase(0, interrupt);  // decoded next: Ctrl+C
    EndPaste(events);
    return true;
  }
  if (end == std::string::npos) {
    // Keep what could be the beginning of the end sequence for the next Feed.
    const std::size_t keep = std::min(pending_.size(), kPasteEnd.size() - 1);
    AddPasted(std::string_view(pending_).substr(0, pending_.size() - keep));
    pending_.erase(0, pending_.size() - keep);
    return false;
  }
  AddPasted(std::string_view(pending_).substr(0, end));
  pending_.erase(0, end + kPasteEnd.size());
  EndPaste(events);
  return true;
}

// Line ends become "\n", and a run of them one: the empty lines between them
// would change nothing, and a paste of nothing else stays small.
void KeyDecoder::AddPasted(std::string_view bytes) {
  for (const char c : bytes) {
    if (IsLineEnd(c)) {
      if (paste_.empty() || paste_.back() != '\n') paste_.push_back('\n');
      paste_line_ = 0;
    } else if (paste_line_ < kPasteLineKeep) {
      paste_.push_back(c);
      ++paste_line_;
    }
  }
}

void KeyDecoder::EndPaste(std::vector<KeyEvent>& events) {
  events.push_back({Action::kPaste, std::move(paste_)});
  paste_.clear();
  paste_line_ = 0;
  in_paste_ = false;
}
