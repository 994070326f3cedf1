// The x87 floating-point control word the calculator runs with: the mode
// Extended requires. Every program loads it first thing in main, rather than
// trusting a platform's default to be this one.
#pragma once

// 0x133F: every exception masked (0x3F), 64-bit significand (precision control
// 0x300), round to nearest with ties to even, and the legacy infinity bit. On
// x86 Extended is the FPU's long double and relies on the full significand;
// elsewhere it is the software format, which needs no mode, and there is
// nothing to load. Some drivers reached through GDI load a control word of
// their own, so the window code loads this one again after each of its GDI
// calls.
inline constexpr unsigned short kFpuControlWord = 0x133F;

inline void LoadFpuControlWord() {
#if defined(__i386__) || defined(__x86_64__)
  const unsigned short word = kFpuControlWord;
  __asm__ volatile("fldcw %0" : : "m"(word));
#endif
}
