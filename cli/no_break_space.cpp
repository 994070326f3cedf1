#include "cli/no_break_space.h"

#include <string_view>

std::string WithSingleByteNoBreakSpaces(std::string_view line) {
  static constexpr std::string_view kUtf8NoBreakSpaces[] = {"\xC2\xA0", "\xE2\x80\xAF"};
  std::string out;
  out.reserve(line.size());
  for (std::size_t at = 0; at < line.size();) {
    bool found = false;
    for (const std::string_view space : kUtf8NoBreakSpaces) {
      if (line.substr(at, space.size()) == space) {
        out.push_back('\xA0');
        at += space.size();
        found = true;
        break;
      }
    }
    if (!found) out.push_back(line[at++]);
  }
  return out;
}
