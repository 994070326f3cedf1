// The x87 floating-point control word the calculator runs with.
#pragma once

// 0x133F: every exception masked (0x3F), 64-bit significand (precision control
// 0x300), round to nearest with ties to even, and the legacy infinity bit. The
// engine's Extended is the FPU's long double here and relies on the full
// significand. Some
// drivers reached through GDI load a control word of their own, so the window
// code loads this one again after each of its GDI calls.
inline constexpr unsigned short kFpuControlWord = 0x133F;

inline void LoadFpuControlWord() {
#if defined(__i386__) || defined(__x86_64__)
  const unsigned short word = kFpuControlWord;
  __asm__ volatile("fldcw %0" : : "m"(word));
#endif
}
