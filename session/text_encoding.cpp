#include "session/text_encoding.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace {

// Code page 1252 from 0x80 to 0x9F; every other byte is the code point of
// the same value. 0x81, 0x8D, 0x8F, 0x90 and 0x9D are undefined and stand
// for themselves, as Windows converts them.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

constexpr char32_t kNarrowNoBreakSpace = 0x202F;
constexpr unsigned char kNoBreakSpace = 0xA0;

char32_t CodeOf(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

std::optional<unsigned char> ByteOf(char32_t code) {
  if (code == kNarrowNoBreakSpace) return kNoBreakSpace;
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<unsigned char>(code);
  const auto* found = std::find(std::begin(kHighControls), std::end(kHighControls), code);
  if (found == std::end(kHighControls)) return std::nullopt;
  return static_cast<unsigned char>(0x80 + (found - std::begin(kHighControls)));
}

void AppendUtf8(char32_t code, std::string& out) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    // Code page 1252 reaches no further than three bytes.
    assert(code < 0x10000);
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The length of the sequence a lead byte starts, 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;  // continuation bytes, the overlong leads 0xC0 and 0xC1, and 0xF5..0xFF
}

}  // namespace

Utf8Character DecodeUtf8(std::string_view text, std::size_t at) {
  assert(at < text.size());
  const auto lead = static_cast<unsigned char>(text[at]);
  const Utf8Character lone{lead, 1, lead < 0x80};
  const std::size_t length = SequenceLength(lead);
  if (length <= 1 || at + length > text.size()) return lone;
  char32_t code = lead & (0x7F >> length);
  for (std::size_t next = 1; next < length; ++next) {
    const auto byte = static_cast<unsigned char>(text[at + next]);
    if (!IsContinuation(byte)) return lone;
    code = (code << 6) | (byte & 0x3F);
  }
  // Overlong three- and four-byte forms, surrogates, and past U+10FFFF.
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
    return lone;
  }
  return {code, length, true};
}

std::size_t PreviousCharacterStart(std::string_view text, std::size_t at) {
  assert(at > 0 && at <= text.size());
  // A lead byte is never a continuation, so a well-formed sequence that ends
  // here is the character that ends here; otherwise the last byte is one.
  for (std::size_t length = 4; length >= 2; --length) {
    if (at < length) continue;
    const Utf8Character character = DecodeUtf8(text, at - length);
    if (character.well_formed && character.length == length) return at - length;
  }
  return at - 1;
}

std::size_t CharacterStart(std::string_view text, std::size_t at) {
  assert(at <= text.size());
  // Every byte that is not a continuation byte starts a character, so only a
  // well-formed sequence that starts up to three bytes before can hold `at`.
  for (std::size_t back = 1; back <= std::min<std::size_t>(3, at); ++back) {
    const Utf8Character character = DecodeUtf8(text, at - back);
    if (character.well_formed && character.length > back) return at - back;
  }
  return at;
}

namespace {

// The terminal counts the characters of the whole line on every key, so
// ASCII, a character a byte, is stepped over without decoding.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  return static_cast<unsigned char>(text[at]) < 0x80 ? 1 : DecodeUtf8(text, at).length;
}

}  // namespace

std::size_t CountCharacters(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size(); at += CharacterLength(text, at)) ++count;
  return count;
}

std::size_t UnfinishedUtf8Tail(std::string_view text) {
  // Look back over the continuation bytes a sequence could still be missing.
  for (std::size_t back = 1; back <= std::min<std::size_t>(3, text.size()); ++back) {
    const auto byte = static_cast<unsigned char>(text[text.size() - back]);
    if (IsContinuation(byte)) continue;
    const std::size_t length = SequenceLength(byte);
    // A sequence that has become ill-formed already waits for nothing.
    if (length <= back) return 0;
    std::string complete(text.substr(text.size() - back));
    complete.append(length - back, '\x80');
    const Utf8Character probe = DecodeUtf8(complete, 0);
    // Some completion is well formed when the smallest or the largest
    // continuation bytes make one: only the first continuation byte can
    // decide (overlong forms, surrogates, the end of Unicode), and each lead
    // allows a range of it that takes in one of the two ends.
    complete.replace(back, length - back, length - back, '\xBF');
    return probe.well_formed || DecodeUtf8(complete, 0).well_formed ? back : 0;
  }
  return 0;
}

bool IsAscii(std::string_view text) {
  // lumocalc-eval asks this of every line and answer: eight bytes at a time,
  // the last eight overlapping those before, rather than a test a byte.
  const std::size_t size = text.size();
  if (size < 8) {
    unsigned all = 0;
    for (const char byte : text) all |= static_cast<unsigned char>(byte);
    return all < 0x80;
  }
  const auto eight = [&text](std::size_t at) {
    std::uint64_t bytes = 0;
    std::memcpy(&bytes, text.data() + at, sizeof bytes);
    return bytes;
  };
  std::uint64_t all = eight(size - 8);
  for (std::size_t at = 0; at + 8 < size; at += 8) all |= eight(at);
  return (all & 0x8080808080808080) == 0;
}

std::optional<std::string> Windows1252FromUtf8(std::string_view utf8) {
  std::string bytes;
  bytes.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const Utf8Character character = DecodeUtf8(utf8, at);
    const std::optional<unsigned char> byte =
        character.well_formed ? ByteOf(character.code) : std::nullopt;
    if (!byte) return std::nullopt;
    bytes.push_back(static_cast<char>(*byte));
    at += character.length;
  }
  return bytes;
}

std::string Utf8FromWindows1252(std::string_view bytes) {
  std::string utf8;
  utf8.reserve(bytes.size());
  for (const char byte : bytes) AppendUtf8(CodeOf(static_cast<unsigned char>(byte)), utf8);
  return utf8;
}
