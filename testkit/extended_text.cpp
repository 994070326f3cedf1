#include "testkit/extended_text.h"

#include <cinttypes>
#include <cstdio>
#include <string>

std::string ExtendedText(SoftExtended x) {
  char text[32];
  std::snprintf(text, sizeof text, "%c%04X:%016" PRIX64, x.negative() ? '-' : '+', x.exponent(),
                x.significand());
  return text;
}

SoftExtended ParseExtendedText(std::string_view text) {
  const std::string copy(text);
  return SoftExtended::FromFields(copy[0] == '-', std::stoul(copy.substr(1, 4), nullptr, 16),
                                  std::stoull(copy.substr(6), nullptr, 16));
}
