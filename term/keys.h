// What the terminal sends, turned into the calculator's keys: a table from
// byte sequences to actions, and a decoder that cuts the stream of bytes into
// keys, runs of typed text and bracketed pastes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class Action {
  kNone,    // a key the calculator doesn't use
  kInsert,  // typed text: characters, and line ends as "\n"
  kPaste,   // a bracketed paste, line ends as "\n"
  kLeft,
  kRight,
  kWordLeft,
  kWordRight,
  kHome,
  kEnd,
  kBackspace,
  kDelete,
  kDeleteToStart,
  kDeleteToEnd,
  kDeleteWordBefore,
  kDeleteToWordStart,
  kRecallOlder,
  kRecallNewer,
  kPageUp,
  kPageDown,
  kEscape,
  kRedraw,
  kSuspend,
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
  std::string text;  // kInsert and kPaste
};

// Bytes that come closer together than this were sent together: a lone ESC
// that waits this long for the rest of a sequence is the Escape key, and text
// that follows a refused line this closely is the rest of a paste.
inline constexpr int kKeyGapMs = 50;

// A bracketed paste still open this long after it began has lost its end
// sequence (or never had one: a stray start sequence); it ends there, so that
// it never swallows the keys for good.
inline constexpr int kPasteLimitMs = 1000;

// Cuts the bytes read from the terminal into key events. Bytes may arrive in
// any pieces: an incomplete sequence, character or paste is kept for the
// next Feed.
class KeyDecoder {
 public:
  // The events completed by these bytes, in order.
  std::vector<KeyEvent> Feed(std::string_view bytes);
  // Whether bytes are kept that further bytes may complete: when none come
  // for kKeyGapMs, or a paste has been open for kPasteLimitMs, call Flush.
  bool WaitingForMore() const { return in_paste_ || !pending_.empty(); }
  bool InPaste() const { return in_paste_; }
  // Ends what has been waiting: the paste so far, the Escape key, the bytes
  // of an unfinished character (each a character that is not well formed);
  // an unfinished escape sequence is an unknown key.
  std::vector<KeyEvent> Flush();

 private:
  void Decode(std::vector<KeyEvent>& events);
  std::size_t TakeTyped(std::string_view rest, std::vector<KeyEvent>& events);
  bool TakePaste(std::vector<KeyEvent>& events);
  void AddPasted(std::string_view bytes);
  void EndPaste(std::vector<KeyEvent>& events);

  std::string pending_;    // bytes not yet decoded
  bool after_cr_ = false;  // typed text ended with CR: an LF next is the same line end
  bool in_paste_ = false;
  std::string paste_;           // the paste so far
  std::size_t paste_line_ = 0;  // bytes of its last line
};
