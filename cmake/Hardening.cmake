# The Linux programs are built with Debian's hardening set (what
# `dpkg-buildflags` gives with DEB_BUILD_MAINT_OPTIONS=hardening=+all), so that
# `hardening-check` says yes on each line for both programs on amd64 and
# arm64: position-independent code (lumocalc-eval links as -static-pie),
# stack protector, stack clash protection, _FORTIFY_SOURCE, full RELRO with
# immediate binding, and the processor's control-flow protection.
# scripts/test-package.sh checks the packaged programs. The sanitizer and
# fuzzer trees go without: they instrument on their own, and ASan wants no
# fortified functions.
if(WIN32 OR EMSCRIPTEN OR APPLE OR LUMOCALC_SANITIZE OR LUMOCALC_FUZZER
   OR NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  return()
endif()

set(LUMOCALC_HARDENED ON)

# -fPIE everywhere, also in the static libraries: CMake's position-independent
# libraries would be -fPIC, where a global function may be interposed and so
# is not inlined across the engine's files.
add_compile_options(-fPIE -fstack-protector-strong -fstack-clash-protection)
# Fortified functions need the optimizer, and glibc warns without it; the
# macro is undefined first where a compiler sets it by default.
add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|amd64|AMD64)$")
  add_compile_options(-fcf-protection)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64|ARM64)$")
  add_compile_options(-mbranch-protection=standard)
endif()
add_link_options(-pie LINKER:-z,relro LINKER:-z,now)
