// Text operations of the evaluation. A text is a byte string of single-byte
// characters. A blank is the space (0x20) or the no-break space (0xA0), with
// which numbers copied from French text are grouped («1 000»); a tab or any
// other byte is never removed or trimmed as a blank.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The one failure signal of the evaluation, and the only message a user sees.
inline constexpr std::string_view kErrorText = "Erreur de syntaxe";

inline bool ContainsError(std::string_view text) {
  return text.find(kErrorText) != std::string_view::npos;
}

inline bool Contains(std::string_view text, std::string_view search) {
  return text.find(search) != std::string_view::npos;
}

// Whether c is one of the characters of set. Written out rather than strchr,
// which would also "find" a NUL byte typed or pasted by the user.
inline bool IsOneOf(char c, std::string_view set) {
  return set.find(c) != std::string_view::npos;
}

// A set of byte values, tested in constant time: the evaluation asks "is this
// character an operator?" for every character of the line.
class CharSet {
 public:
  constexpr explicit CharSet(std::string_view members) {
    for (const char c : members) member_[static_cast<unsigned char>(c)] = true;
  }
  constexpr bool Has(char c) const { return member_[static_cast<unsigned char>(c)]; }

 private:
  bool member_[256] = {};
};

inline bool IsBlank(char c) {
  return c == ' ' || c == '\xA0';
}

inline bool HasDigit(std::string_view text) {
  for (const char c : text) {
    if (c >= '0' && c <= '9') return true;
  }
  return false;
}

// How many characters of text belong to set.
std::size_t CountOf(std::string_view text, std::string_view set);

// One left-to-right scan: every occurrence is replaced and the scan resumes
// after it, so occurrences never overlap and the replacement is never scanned
// again. An empty search text leaves the text as it is.
std::string ReplaceAll(std::string_view text, std::string_view search,
                       std::string_view replacement);

// The same scan, rewriting text where it stands; the replacement must not be
// longer than the search text, so that the writing never overtakes the
// reading.
void ReplaceAllInPlace(std::string& text, std::string_view search, std::string_view replacement);

std::string_view TrimBlanks(std::string_view text);
