// An extended value as text, bit for bit: «+3FFF:8000000000000000», its sign,
// its biased exponent and its significand in hexadecimal. The form of the
// values of tests/cases/extended.txt, and of every mismatch a comparison of
// the software format with the FPU prints.
#pragma once

#include <string>
#include <string_view>

#include "number/soft_extended.h"

std::string ExtendedText(SoftExtended x);

// The value of a text of that form.
SoftExtended ParseExtendedText(std::string_view text);
