// The conversions between number texts and values. Every intermediate result
// of the calculator travels as text, so these three functions decide what a
// text is worth and what a value looks like; nothing else second-guesses them.
//
// The limits, and why:
//  - 18 significant digits are read from a decimal text: 10^18 still fits the
//    64-bit integer that carries them into the 64-bit significand exactly.
//  - 15 significant digits are written: every double survives text -> value ->
//    text at 15 digits, so a result written back reads back as itself.
//  - 9999 is the largest exponent read; beyond 4932 (first significant digit
//    at 10^4932) the extended range is left and the value is pinned to 2^127,
//    and at or below 10^-4934 it is 0.
#pragma once

#include <cassert>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "number/extended.h"

// All arithmetic runs in the x87 80-bit extended format: the FPU's long double
// on x86, the same bits in software elsewhere. Anything else would give other
// digits.
static_assert(std::numeric_limits<Extended>::digits == 64,
              "lumo calc computes in the x87 80-bit extended format (64-bit significand)");
static_assert(std::numeric_limits<double>::is_iec559, "doubles must be IEEE 754 binary64");

// Text to value. Accepts any text and never fails: the longest well-formed
// beginning is read and a text without a number gives 0.
Extended ParseNumber(std::string_view text);

// The radix branch of ParseNumber: the text after a leading "&" (hexadecimal
// "H", octal "O"/"Q" or no letter, binary "B"), read as an integer.
Extended ParseRadixNumber(std::string_view text);

// Value to text with at most 15 significant digits: one blank in front of a
// value that is not negative, "-" in front of a negative one.
std::string FormatNumber(Extended value);

// A number text kept without allocating: every reduction writes one, and the
// longest FormatNumber can write is 23 bytes («-1.23456789012346E-4931»).
class NumberText {
 public:
  void Append(char c) {
    assert(size_ < sizeof data_);
    data_[size_++] = c;
  }
  void Append(std::string_view text) {
    assert(text.size() <= sizeof data_ - size_);
    std::size_t size = size_;
    for (const char c : text) data_[size++] = c;
    size_ = size;
  }
  void Append(std::size_t count, char c) {
    assert(count <= sizeof data_ - size_);
    for (std::size_t i = 0; i < count; ++i) data_[size_++] = c;
  }
  std::string_view View() const { return {data_, size_}; }
  void Clear() { size_ = 0; }

  // What ParseNumber reads the text as, known without reading it: the next
  // reduction usually takes the value just written as its left operand. It
  // is digits x 10^scale, worked out only when asked for.
  struct ReadBack {
    std::uint64_t digits;
    std::int64_t scale;
    bool negative;
    Extended Value() const {
      if (scale == 0)
        return negative ? -static_cast<Extended>(digits) : static_cast<Extended>(digits);
      return Slow();
    }
    Extended Slow() const;
  };
  ReadBack read_back;

 private:
  char data_[32];
  std::size_t size_ = 0;
};

// FormatNumber of a double (what every reduction writes), into a NumberText,
// with its read_back value.
void FormatNumberInto(double value, NumberText& text);

// digits x 10^scale, correctly rounded to the extended format.
Extended DecimalToExtended(std::uint64_t digits, std::int64_t scale);

// Value rounded to an integer, written in full with "," between groups of three
// digits; at most 18 significant digits, zeros after them.
std::string FormatGrouped(Extended value);

// FormatGrouped with another separator between the groups, appended to out.
void AppendGrouped(Extended value, char separator, std::string& out);

// Rounds an extended value to a double (through memory on the x87, so that a
// 32-bit build can't keep extended precision in a register).
inline double RoundToDouble(Extended value) {
  return ToDouble(value);
}
