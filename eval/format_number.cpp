// FormatNumber: a value as the text written back into the expression.
//
// Rounding goes in two stages, as the calculator always has: the exact value
// to 18 significant digits (ties to even), then to 15 by the 16th digit alone
// (above 5 up, below 5 down, exactly 5 to make the 15th digit even). Trailing
// zeros go; the text is positional unless that needs more than 15 integer
// digits or more than 15 decimals. No "0" before the point, no "+" in front.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "eval/number_text.h"
#include "eval/significant_digits.h"

namespace {

constexpr int kDigits = 15;
constexpr std::uint64_t kTenTo15 = 1000000000000000ULL;

// The text an infinity is shown as: it reads back as a finite number.
constexpr std::string_view kInfinityText = "9.99999999999999E+998";

// The 15 digits of 10^14 <= n < 10^15, two at a time and in two independent
// halves, so that the divisions don't wait on one another.
void WriteFifteenDigits(std::uint64_t n, char* digit) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  auto high = static_cast<std::uint32_t>(n / 100000000);  // 7 digits
  auto low = static_cast<std::uint32_t>(n % 100000000);   // 8 digits
  for (int i = 0; i < 4; ++i) {
    const std::uint32_t low_pair = low % 100;
    low /= 100;
    digit[13 - 2 * i] = kPairs[2 * low_pair];
    digit[14 - 2 * i] = kPairs[2 * low_pair + 1];
    if (i < 3) {
      const std::uint32_t high_pair = high % 100;
      high /= 100;
      digit[5 - 2 * i] = kPairs[2 * high_pair];
      digit[6 - 2 * i] = kPairs[2 * high_pair + 1];
    }
  }
  digit[0] = static_cast<char>('0' + high);
}

// The text of a value from its 18 significant digits; the sign is written.
void WriteSignificant(const Digits18& d, bool negative, NumberText& text) {
  std::uint64_t fifteen = d.significand / 1000;
  const auto sixteenth = static_cast<int>(d.significand % 1000 / 100);
  int exponent = d.exponent;
  if (sixteenth > 5 || (sixteenth == 5 && fifteen % 2 == 1)) {
    if (++fifteen == kTenTo15) {  // 999...9 carried over: one more power of ten
      fifteen = kTenTo15 / 10;
      ++exponent;
    }
  }
  // The text is worth exactly fifteen x 10^(exponent - 14), which reads back
  // through the same one correctly rounded operation as its digits would.
  text.read_back = {fifteen, exponent - (kDigits - 1), negative};

  char digit[kDigits];
  WriteFifteenDigits(fifteen, digit);
  int m = kDigits;
  while (m > 1 && digit[m - 1] == '0') --m;
  const int e = exponent + 1;  // value = 0.d1...dm x 10^e
  const std::string_view digits(digit, static_cast<std::size_t>(m));

  const bool whole = m <= e;
  const bool positional = whole ? e <= kDigits : m - e <= kDigits;
  if (positional && whole) {
    text.Append(digits);
    text.Append(static_cast<std::size_t>(e - m), '0');
  } else if (positional && e <= 0) {
    text.Append('.');
    text.Append(static_cast<std::size_t>(-e), '0');
    text.Append(digits);
  } else if (positional) {
    text.Append(digits.substr(0, static_cast<std::size_t>(e)));
    text.Append('.');
    text.Append(digits.substr(static_cast<std::size_t>(e)));
  } else {
    text.Append(digits[0]);
    if (m > 1) {
      text.Append('.');
      text.Append(digits.substr(1));
    }
    text.Append(e - 1 < 0 ? "E-" : "E+");
    char exponent_text[8];
    text.Append(std::string_view(
        exponent_text,
        static_cast<std::size_t>(
            std::to_chars(exponent_text, exponent_text + sizeof exponent_text, std::abs(e - 1))
                .ptr -
            exponent_text)));
  }
}

}  // namespace

void FormatNumberInto(double value, NumberText& text) {
  if (value == 0 || std::isnan(value)) {
    text.Append(" 0");
    text.read_back = {};
    return;
  }
  const bool negative = std::signbit(value);
  text.Append(negative ? '-' : ' ');
  if (std::isinf(value)) {
    text.Append(kInfinityText);
    text.read_back = {kTenTo15 - 1, 998 - (kDigits - 1), negative};
    return;
  }
  const double magnitude = std::fabs(value);
  if (magnitude < 1e15) {
    const auto whole = static_cast<std::int64_t>(magnitude);  // below 2^63: a plain conversion
    if (static_cast<double>(whole) == magnitude) {
      // A whole number of at most 15 digits is its own text.
      char digits[16];
      const char* end = std::to_chars(digits, digits + sizeof digits, whole).ptr;
      text.Append(std::string_view(digits, static_cast<std::size_t>(end - digits)));
      text.read_back = {static_cast<std::uint64_t>(whole), 0, negative};
      return;
    }
  }
  WriteSignificant(SignificantDigits18(magnitude), negative, text);
}

Extended NumberText::ReadBack::Slow() const {
  const Extended magnitude = DecimalToExtended(digits, scale);
  return negative ? -magnitude : magnitude;
}

std::string FormatNumber(Extended value) {
  NumberText text;
  const auto narrow = static_cast<double>(value);
  if (IsNaN(value) || static_cast<Extended>(narrow) == value) {
    FormatNumberInto(narrow, text);
  } else {
    // Not a double (no reduction writes one): the extended value's own digits.
    const bool negative = SignBit(value);
    text.Append(negative ? '-' : ' ');
    WriteSignificant(SignificantDigits18(Abs(value)), negative, text);
  }
  return std::string(text.View());
}
