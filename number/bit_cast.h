// BitCast: the bits of one trivially copyable value as another type of the
// same size. std::bit_cast where the standard library has it; the libc++ of
// Debian's emscripten (clang 14) lacks it, and the compiler's builtin does
// the same, constexpr too.
#pragma once

#include <version>

#if defined(__cpp_lib_bit_cast)
#include <bit>
#endif

template <typename To, typename From>
constexpr To BitCast(const From& from) noexcept {
  static_assert(sizeof(To) == sizeof(From), "a bit cast keeps the size");
#if defined(__cpp_lib_bit_cast)
  return std::bit_cast<To>(from);
#else
  return __builtin_bit_cast(To, from);
#endif
}
