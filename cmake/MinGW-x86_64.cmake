# Cross build for 64-bit Windows with Debian's mingw-w64, for the machines
# whose kernel cannot start 32-bit x86 programs and so not Wine's 32-bit
# loader either:
#   cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-x86_64.cmake
# Its test programs run under the 64-bit loader itself: the `wine` script would
# pick the 32-bit one first. Doubles are SSE2 there by default, and long double
# is still the x87 80-bit format.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LUMOCALC_MINGW_TRIPLE x86_64-w64-mingw32)
set(LUMOCALC_WINE_NAMES wine64)

include(${CMAKE_CURRENT_LIST_DIR}/MinGW-common.cmake)
