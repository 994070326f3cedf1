# Cross build for 32-bit Windows with Debian's mingw-w64 (the -win32 thread
# flavour, which keeps libwinpthread-1.dll out of the programs):
#   cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-i686.cmake
# Test programs run under Wine through CMAKE_CROSSCOMPILING_EMULATOR, so ctest
# needs no special cases for them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(LUMOCALC_MINGW_TRIPLE i686-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${LUMOCALC_MINGW_TRIPLE}-gcc-win32 ${LUMOCALC_MINGW_TRIPLE}-gcc
             REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${LUMOCALC_MINGW_TRIPLE}-g++-win32 ${LUMOCALC_MINGW_TRIPLE}-g++
             REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${LUMOCALC_MINGW_TRIPLE}-windres REQUIRED)
find_program(CMAKE_OBJDUMP NAMES ${LUMOCALC_MINGW_TRIPLE}-objdump)
find_program(CMAKE_STRIP NAMES ${LUMOCALC_MINGW_TRIPLE}-strip)

set(CMAKE_FIND_ROOT_PATH /usr/${LUMOCALC_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The default i686 code keeps doubles in x87 registers with excess precision,
# so a double would not round like a real IEEE double. SSE2 arithmetic makes
# double exactly double; long double stays the x87 80-bit format.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

# Everything linked in: the programs import system DLLs only.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(LUMOCALC_WINE NAMES wine)
if(LUMOCALC_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LUMOCALC_WINE})
endif()
