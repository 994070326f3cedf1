# What the two Windows toolchain files share; each sets CMAKE_SYSTEM_PROCESSOR,
# LUMOCALC_MINGW_TRIPLE and LUMOCALC_WINE_NAMES (the Wine loaders that start
# its programs, first choice first) and then includes this file.
set(CMAKE_SYSTEM_NAME Windows)

# The -win32 thread flavour keeps libwinpthread-1.dll out of the programs.
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

# cpack packages what was built (the scripts build just lumocalc first), as it
# does under Ninja; with Makefiles it would otherwise build every test program.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# Everything linked in: the programs import system DLLs only.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine through the emulator, so ctest needs no special
# cases for them.
find_program(LUMOCALC_WINE NAMES ${LUMOCALC_WINE_NAMES} PATHS /usr/lib/wine NO_CACHE)
if(LUMOCALC_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LUMOCALC_WINE})
endif()
