// The escaped text form of lumocalc-eval --escaped: any byte string on one
// printable line. Backslash, tab, CR and LF are written \\ \t \r \n; every
// other byte outside 0x20..0x7E as \xHH.
#pragma once

#include <string>
#include <string_view>

std::string Escape(std::string_view bytes);

// The reverse. A backslash that starts no known escape stands for itself.
std::string Unescape(std::string_view text);
