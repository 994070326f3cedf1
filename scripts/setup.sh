#!/usr/bin/env bash
# Installs the Debian packages a purpose needs, only those that are missing.
#   scripts/setup.sh native    compiler, CMake, GoogleTest, Google Benchmark, ncurses, libvterm,
#                              and dpkg-dev and lintian for the Debian package and its test
#   scripts/setup.sh windows   + mingw-w64 cross compiler, Wine, Xvfb, ImageMagick
#   scripts/setup.sh fuzz      + clang with libFuzzer
#   scripts/setup.sh arm64     + AArch64 cross compiler, the target's ncurses (a multiarch
#                              package) and QEMU user mode to run its tests
set -euo pipefail

native=(cmake g++ make libgtest-dev libgmock-dev googletest libbenchmark-dev libncurses-dev
        libvterm-dev dpkg-dev lintian)
windows=(g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 wine wine32:i386 fonts-wine xvfb xauth
         xdotool imagemagick)
fuzz=(clang libclang-rt-dev)
arm64=(g++-aarch64-linux-gnu libncurses-dev:arm64 qemu-user)

wanted=("${native[@]}")
for purpose in "$@"; do
  case "$purpose" in
    native) ;;
    windows) wanted+=("${windows[@]}") ;;
    fuzz) wanted+=("${fuzz[@]}") ;;
    arm64) wanted+=("${arm64[@]}") ;;
    *) echo "setup.sh: unknown purpose $purpose" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "setup.sh: installing ${missing[*]}" >&2
for arch in i386 arm64; do
  if printf '%s\n' "${missing[@]}" | grep -q ":$arch\$" &&
     ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
    $sudo dpkg --add-architecture "$arch"
  fi
done
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
