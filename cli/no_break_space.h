// Lines reach lumocalc-eval from a shell, a file or a pipe, which on Linux
// hold UTF-8: there the no-break space is two bytes (U+00A0), and the narrow
// one that French puts between groups of digits three (U+202F). The engine
// reads single-byte text, whose no-break space is the byte 0xA0, a blank like
// the space: both become that byte, so «1 000+1» copied from French text
// answers 1 001. Every other byte stays as it is.
#pragma once

#include <string>
#include <string_view>

std::string WithSingleByteNoBreakSpaces(std::string_view line);
