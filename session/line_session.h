// One line session: what every front end holds while a person uses the
// calculator, and what each of their actions does to it. The terminal and the
// page keep only their view and their input decoding: they turn keys, pastes
// and clicks into these verbs and draw what the session then holds, so the
// same actions leave the same line, answer, waiting lines and history in
// every one of them.
//
// The line is UTF-8, answered by the calculator given (CalculateTyped over
// the engine, in the programs); every change of it goes through the window's
// input rules (ReactToInputChange), and text with line ends through the paste
// rule (paste_lines.h).
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "session/input_handling.h"
#include "session/input_line.h"
#include "session/paste_lines.h"

class LineSession {
 public:
  explicit LineSession(Calculator calculate);

  const InputLine& Line() const { return line_; }
  // The window's LastResult: the answer shown for the line.
  const std::string& Answer() const { return last_result_; }
  // The committed answers, oldest first (shown newest first), and their lines as typed.
  const std::vector<std::string>& History() const { return history_; }
  const std::vector<std::string>& CommittedLines() const { return lines_; }
  // The lines of a paste that wait behind a refused line and hold more than blanks.
  std::size_t WaitingCount() const { return waiting_.Count(); }
  // Which line Up and Down have brought back: 0 the line being typed, n the
  // nth newest committed one.
  std::size_t Recalled() const { return recalled_; }
  // Characters typed or pasted that found no room in the line, since the start.
  std::size_t LeftOut() const { return left_out_; }
  // A line was refused since the keys last paused (EndBurst).
  bool Holding() const { return holding_; }

  // Text typed or pasted at the caret. Its line ends (CR, LF, CR LF) are
  // Enter: the text is taken line by line. After a line is refused, until
  // EndBurst, more text is taken as the rest of the same paste, from a
  // terminal without bracketed paste: it waits behind the refused line.
  void Type(std::string_view text);
  void Enter() { Type("\n"); }
  // The keys have paused, or a front end's action is whole: text from now
  // on is typed anew.
  void EndBurst() { holding_ = false; }
  // The selection [from, to) (bytes, on character starts) replaced by text
  // typed or pasted.
  void TypeOver(std::size_t from, std::size_t to, std::string_view text);
  // The line as the front end's own field holds it after an edit the field
  // made itself (a browser's input); line ends in it are taken as typed.
  void SetLine(std::string_view text, std::size_t caret);
  // An edit of input_line.h (Backspace, Delete, a caret move ...), carried out
  // on the line and then answered: `edit(InputLine&)` returns whether the
  // text changed.
  template <typename Edit>
  void Change(Edit edit) {
    if (edit(line_)) React();
  }
  void DropWaiting() { waiting_.Clear(); }
  // Up and Down: the text each line had when the caret left it, edits
  // included, is kept until the next commit, so moving through the lines
  // loses nothing.
  void RecallOlder() { Recall(recalled_ + 1); }
  void RecallNewer();
  // Straight to a line: 0 the line being typed, n the nth newest committed
  // one (a history entry chosen on the page), as pressing Up n times would.
  void Recall(std::size_t to);

 private:
  InputReaction React();
  void TypeLine(std::string_view text);
  Entered PressEnter();

  Calculator calculate_;
  InputLine line_;
  std::string last_line_;  // the window's LastLine
  std::string last_result_;
  std::vector<std::string> history_;
  std::vector<std::string> lines_;
  std::size_t recalled_ = 0;
  std::map<std::size_t, std::string> left_behind_;
  WaitingLines waiting_;
  bool holding_ = false;
  std::size_t left_out_ = 0;
};
