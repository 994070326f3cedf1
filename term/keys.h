// What the terminal sends, turned into the calculator's keys: a table from
// byte sequences to actions, and a decoder that cuts the stream of bytes into
// keys, runs of typed characters and bracketed pastes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class Action {
  kNone,  // a key the calculator doesn't use, Escape among them
  kInsert,
  kPaste,
  kLineBreak,
  kLeft,
  kRight,
  kHome,
  kEnd,
  kBackspace,
  kDelete,
  kDeleteToStart,
  kDeleteToEnd,
  kDeleteWordBefore,
  kPageUp,
  kPageDown,
  kQuit,
  kQuitIfEmpty,  // Ctrl+D: leaves on an empty input, deletes at the caret otherwise
};

struct KeyBinding {
  std::string_view sequence;
  Action action;
};

// The action bound to exactly this byte sequence; kNone for any other.
Action ActionForSequence(std::string_view sequence);

struct KeyEvent {
  Action action = Action::kNone;
  std::string text;  // kInsert: the typed characters; kPaste: the pasted text
};

// The line break of the window's input field: Enter inserts CR LF there.
// Terminals end a line with CR (Enter), LF (Ctrl+J, and some pastes) or CR LF
// (pastes of Windows text); each of them, typed or pasted, counts as one such
// line break, so a pasted line end commits or is refused as in the window.
inline constexpr std::string_view kTerminalLineBreak = "\r\n";

// How long a lone ESC waits for the rest of a sequence before it counts as
// the Escape key.
inline constexpr int kEscapeDelayMs = 50;

// Cuts the bytes read from the terminal into key events. Bytes may arrive in
// any pieces: an incomplete sequence or paste is kept for the next Feed.
class KeyDecoder {
 public:
  // The events completed by these bytes, in order.
  std::vector<KeyEvent> Feed(std::string_view bytes);
  // True while the bytes kept so far begin an escape sequence that further
  // bytes may complete: after kEscapeDelayMs without any, call Flush.
  bool WaitingForMore() const { return !in_paste_ && !pending_.empty(); }
  // Ends a sequence that has been waiting: Escape alone, or an unknown key.
  void Flush() { pending_.clear(); }

 private:
  void Decode(std::vector<KeyEvent>& events);
  bool TakePaste(std::vector<KeyEvent>& events);
  void AddPasted(std::string_view bytes);

  std::string pending_;  // bytes not yet decoded
  bool in_paste_ = false;
  std::string paste_;       // the paste so far, line ends already as CR LF
  std::size_t pasted_ = 0;  // characters in paste_, line breaks not counted
  bool after_cr_ = false;   // the paste's last byte was CR: an LF now ends the same line
};
