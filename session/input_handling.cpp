#include "session/input_handling.h"

#include "eval/text.h"

bool HasLineBreak(std::string_view text) {
  return text.find(kLineBreak) != std::string_view::npos;
}

std::string RemoveLineBreaks(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    if (text.substr(at, kLineBreak.size()) == kLineBreak) {
      at += kLineBreak.size();  // resume after the pair: what it leaves is not scanned again
    } else {
      kept.push_back(text[at++]);
    }
  }
  return kept;
}

std::string PrependToHistory(std::string_view entry, std::string_view history) {
  std::string updated;
  updated.reserve(entry.size() + kLineBreak.size() + history.size());
  updated.append(entry).append(kLineBreak).append(history);
  return updated;
}

InputChange ReactToInputChange(std::string_view text, std::string& last_line,
                               std::string& last_result, Calculator calculate) {
  if (!HasLineBreak(text)) {
    // Typing over a character with the same one raises a change too; the
    // comparison keeps it from evaluating the line again.
    if (text == last_line) return {};
    last_line = text;
    last_result = calculate(last_line);
    return {InputReaction::kShowResult, last_result};
  }
  // Enter (or a paste holding a line break). The answer committed is the one
  // computed for the line as it stood before the break came in.
  // Whole-text comparison: a result that merely contains the error text would
  // still be committed.
  if (!last_result.empty() && last_result != kErrorText) {
    InputChange commit{InputReaction::kCommit, std::move(last_result)};
    last_line.clear();
    last_result.clear();
    return commit;
  }
  return {InputReaction::kRefuse, RemoveLineBreaks(text)};
}
