// STAND-IN (see single_byte_text.h).
#include "web/stand_in/single_byte_text.h"

#include <cstdint>

namespace {

// Bytes 0x80 to 0x9F: Windows-1252's characters, or the C1 control of the
// same number where it assigns none. The other bytes are their own code point.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte of a code point, or -1 when the single-byte text has none.
int ByteOf(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<int>(code);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == code) return 0x80 + i;
  return -1;
}

// The code point of the UTF-8 sequence at `at`, which moves past it; an
// ill-formed sequence reads as one lacking character per byte.
char32_t NextCode(std::string_view utf8, std::size_t& at) {
  constexpr char32_t kIllFormed = 0xFFFFFFFF;
  const auto lead = static_cast<unsigned char>(utf8[at++]);
  if (lead < 0x80) return lead;
  const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (more < 0 || lead > 0xF4 || at + static_cast<std::size_t>(more) > utf8.size())
    return kIllFormed;
  char32_t code = lead & (0x3F >> more);
  for (int i = 0; i < more; ++i) {
    const auto next = static_cast<unsigned char>(utf8[at + static_cast<std::size_t>(i)]);
    if ((next & 0xC0) != 0x80) return kIllFormed;
    code = code << 6 | (next & 0x3F);
  }
  // Overlong forms, surrogates and code points past U+10FFFF are no characters.
  constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[more] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
    return kIllFormed;
  at += static_cast<std::size_t>(more);
  return code;
}

}  // namespace

SingleByteText ToSingleByte(std::string_view utf8, char in_place_of_lacking) {
  SingleByteText text;
  text.bytes.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const int byte = ByteOf(NextCode(utf8, at));
    if (byte < 0) ++text.lacking;
    text.bytes.push_back(byte < 0 ? in_place_of_lacking : static_cast<char>(byte));
  }
  return text;
}

std::string ToUtf8(std::string_view bytes) {
  std::string utf8;
  utf8.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    const char32_t code = byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
    if (code < 0x80) {
      utf8.push_back(c);
    } else if (code < 0x800) {
      utf8.push_back(static_cast<char>(0xC0 | code >> 6));
      utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      utf8.push_back(static_cast<char>(0xE0 | code >> 12));
      utf8.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
      utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return utf8;
}
