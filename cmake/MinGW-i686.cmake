# Cross build for 32-bit Windows, the delivered program, with Debian's mingw-w64:
#   cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-i686.cmake
# Its test programs run under Wine's 32-bit loader, which needs a kernel that
# starts 32-bit x86 programs (scripts/test-windows.sh finds out).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(LUMOCALC_MINGW_TRIPLE i686-w64-mingw32)
set(LUMOCALC_WINE_NAMES wine)

# The default i686 code keeps doubles in x87 registers with excess precision,
# so a double would not round like a real IEEE double. SSE2 arithmetic makes
# double exactly double; long double stays the x87 80-bit format.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

include(${CMAKE_CURRENT_LIST_DIR}/MinGW-common.cmake)
