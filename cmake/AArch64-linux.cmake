# Cross build for 64-bit ARM Linux with Debian's gcc-aarch64-linux-gnu, where
# long double is the 128-bit quad format and Extended is the software one
# (scripts/test-arm64.sh builds and tests with it):
#   cmake -S . -B build/arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/AArch64-linux.cmake
# The terminal calculator links the target's ncurses from Debian's multiarch
# package libncurses-dev:arm64, in /usr/lib/aarch64-linux-gnu. Test programs
# run under QEMU's user mode (package qemu-user) through
# CMAKE_CROSSCOMPILING_EMULATOR, with the target's libraries from the cross
# toolchain's sysroot.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(LUMOCALC_AARCH64_TRIPLE aarch64-linux-gnu)
find_program(CMAKE_C_COMPILER NAMES ${LUMOCALC_AARCH64_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${LUMOCALC_AARCH64_TRIPLE}-g++ REQUIRED)

# The sysroot, then the machine's own tree, where multiarch packages put the
# target's libraries under lib/aarch64-linux-gnu (nothing of the build
# machine's own is found there: its libraries are under lib/x86_64-linux-gnu).
set(CMAKE_FIND_ROOT_PATH /usr/${LUMOCALC_AARCH64_TRIPLE} /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(LUMOCALC_QEMU NAMES qemu-aarch64 qemu-aarch64-static)
if(LUMOCALC_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LUMOCALC_QEMU} -L /usr/${LUMOCALC_AARCH64_TRIPLE})
endif()
