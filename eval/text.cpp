#include "eval/text.h"

#include <cassert>
#include <cstring>

std::size_t CountOf(std::string_view text, std::string_view set) {
  std::size_t count = 0;
  for (const char c : text) count += IsOneOf(c, set) ? 1 : 0;
  return count;
}

std::string ReplaceAll(std::string_view text, std::string_view search,
                       std::string_view replacement) {
  if (search.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t at = text.find(search); at != std::string_view::npos;
       at = text.find(search, from)) {
    out.append(text, from, at - from).append(replacement);
    from = at + search.size();
  }
  out.append(text, from);
  return out;
}

void ReplaceAllInPlace(std::string& text, std::string_view search, std::string_view replacement) {
  assert(replacement.size() <= search.size());
  if (search.empty()) return;
  std::size_t at = text.find(search);
  if (at == std::string::npos) return;
  char* const data = text.data();
  std::size_t write = at;
  std::size_t read = at;
  while (at != std::string::npos) {
    std::memmove(data + write, data + read, at - read);
    write += at - read;
    if (!replacement.empty()) std::memcpy(data + write, replacement.data(), replacement.size());
    write += replacement.size();
    read = at + search.size();
    at = text.find(search, read);  // beyond `read` the text is still the original
  }
  std::memmove(data + write, data + read, text.size() - read);
  text.resize(write + text.size() - read);
}

std::string_view TrimBlanks(std::string_view text) {
  std::size_t first = 0;
  std::size_t end = text.size();
  while (first < end && IsBlank(text[first])) ++first;
  while (end > first && IsBlank(text[end - 1])) --end;
  return text.substr(first, end - first);
}
