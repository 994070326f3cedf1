// A 128-bit unsigned integer as two 64-bit halves, with just the operations
// the software extended format needs. Only the 64 x 64 -> 128 product and the
// 128 / 64 division need more than 64-bit arithmetic; they use the compiler's
// 128-bit integers where it has them and 32-bit pieces elsewhere, so the
// format builds on any C++20 compiler. Everything is constexpr: the constant
// tables of the format are computed by the compiler.
#pragma once

#include <bit>
#include <cassert>
#include <cstdint>

struct U128 {
  std::uint64_t hi = 0;
  std::uint64_t lo = 0;

  friend constexpr bool operator==(U128 a, U128 b) = default;
  friend constexpr bool operator<(U128 a, U128 b) {
    return a.hi != b.hi ? a.hi < b.hi : a.lo < b.lo;
  }
  friend constexpr bool operator>(U128 a, U128 b) { return b < a; }
  friend constexpr bool operator<=(U128 a, U128 b) { return !(b < a); }
  friend constexpr bool operator>=(U128 a, U128 b) { return !(a < b); }
  friend constexpr U128 operator+(U128 a, U128 b) {
    const std::uint64_t low = a.lo + b.lo;
    return {a.hi + b.hi + (low < a.lo ? 1 : 0), low};
  }
  friend constexpr U128 operator-(U128 a, U128 b) {
    return {a.hi - b.hi - (a.lo < b.lo ? 1 : 0), a.lo - b.lo};
  }
  friend constexpr U128 operator|(U128 a, U128 b) { return {a.hi | b.hi, a.lo | b.lo}; }
  // 0 <= n < 128: the 64-bit shifts inside are undefined for a count of 64
  // or more, which the branches keep them from (ShiftRightJam takes any n).
  friend constexpr U128 operator<<(U128 a, int n) {
    assert(n >= 0 && n < 128);
    if (n == 0) return a;
    if (n >= 64) return {a.lo << (n - 64), 0};
    return {(a.hi << n) | (a.lo >> (64 - n)), a.lo << n};
  }
  friend constexpr U128 operator>>(U128 a, int n) {
    assert(n >= 0 && n < 128);
    if (n == 0) return a;
    if (n >= 64) return {0, a.hi >> (n - 64)};
    return {a.hi >> n, (a.lo >> n) | (a.hi << (64 - n))};
  }
};

constexpr int CountLeadingZeros(U128 a) {
  return a.hi != 0 ? std::countl_zero(a.hi) : 64 + std::countl_zero(a.lo);
}

// a >> n for any n >= 0, with a 1 or-ed into the lowest bit when a bit that
// was set is shifted out: rounding then still sees that something was there.
constexpr U128 ShiftRightJam(U128 a, int n) {
  assert(n >= 0);
  if (n == 0) return a;
  if (n < 64) {
    const bool lost = (a.lo << (64 - n)) != 0;
    return {a.hi >> n, (a.lo >> n) | (a.hi << (64 - n)) | (lost ? 1U : 0U)};
  }
  if (n < 128) {
    const bool lost = a.lo != 0 || (n > 64 && (a.hi << (128 - n)) != 0);
    return {0, (a.hi >> (n - 64)) | (lost ? 1U : 0U)};
  }
  return {0, (a.hi | a.lo) != 0 ? 1U : 0U};
}

// The portable halves of Mul64 and Div128By64, kept callable so that a test
// can hold them against the compiler's 128-bit arithmetic.
constexpr U128 Mul64Portable(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t a_lo = a & 0xFFFFFFFF, a_hi = a >> 32;
  const std::uint64_t b_lo = b & 0xFFFFFFFF, b_hi = b >> 32;
  const std::uint64_t low = a_lo * b_lo;
  const std::uint64_t mid1 = a_hi * b_lo;
  const std::uint64_t mid2 = a_lo * b_hi;
  const std::uint64_t high = a_hi * b_hi;
  const std::uint64_t cross = (low >> 32) + (mid1 & 0xFFFFFFFF) + (mid2 & 0xFFFFFFFF);
  return {high + (mid1 >> 32) + (mid2 >> 32) + (cross >> 32), (cross << 32) | (low & 0xFFFFFFFF)};
}

// n / d with n.hi < d, so that the quotient fits 64 bits; the remainder goes
// to *remainder. Long division in 32-bit digits with a normalised divisor.
constexpr std::uint64_t Div128By64Portable(U128 n, std::uint64_t d, std::uint64_t* remainder) {
  const int s = std::countl_zero(d);
  d <<= s;
  n = n << s;
  const std::uint64_t d_hi = d >> 32, d_lo = d & 0xFFFFFFFF;
  std::uint64_t rest = n.hi;
  std::uint64_t digit[2];
  for (int i = 0; i < 2; ++i) {
    const std::uint64_t next = (n.lo >> (32 - 32 * i)) & 0xFFFFFFFF;
    std::uint64_t q = rest / d_hi;
    std::uint64_t r = rest - q * d_hi;
    while (q >> 32 != 0 || q * d_lo > ((r << 32) | next)) {
      --q;
      r += d_hi;
      if (r >> 32 != 0) break;
    }
    rest = ((rest << 32) | next) - q * d;
    digit[i] = q;
  }
  *remainder = rest >> s;
  return (digit[0] << 32) | digit[1];
}

constexpr U128 Mul64(std::uint64_t a, std::uint64_t b) {
#ifdef __SIZEOF_INT128__
  __extension__ using Native = unsigned __int128;
  const Native p = static_cast<Native>(a) * b;
  return {static_cast<std::uint64_t>(p >> 64), static_cast<std::uint64_t>(p)};
#else
  return Mul64Portable(a, b);
#endif
}

constexpr std::uint64_t Div128By64(U128 n, std::uint64_t d, std::uint64_t* remainder) {
#ifdef __SIZEOF_INT128__
  __extension__ using Native = unsigned __int128;
  const Native wide = (static_cast<Native>(n.hi) << 64) | n.lo;
  *remainder = static_cast<std::uint64_t>(wide % d);
  return static_cast<std::uint64_t>(wide / d);
#else
  return Div128By64Portable(n, d, remainder);
#endif
}

// The upper 128 bits of the 256-bit product a x b, rounded down.
constexpr U128 MulHigh(U128 a, U128 b) {
  const U128 hh = Mul64(a.hi, b.hi);
  const U128 hl = Mul64(a.hi, b.lo);
  const U128 lh = Mul64(a.lo, b.hi);
  const U128 ll = Mul64(a.lo, b.lo);
  // The middle column: the high half of ll plus the low halves of hl and lh.
  const U128 middle = U128{0, ll.hi} + U128{0, hl.lo} + U128{0, lh.lo};
  return hh + U128{0, hl.hi} + U128{0, lh.hi} + U128{0, middle.hi};
}

// The low 128 bits of a x b for a 64-bit b.
constexpr U128 MulLow(U128 a, std::uint64_t b) {
  const U128 low = Mul64(a.lo, b);
  return {low.hi + a.hi * b, low.lo};
}
