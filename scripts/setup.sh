#!/usr/bin/env bash
# Installs the Debian packages a purpose needs, only those that are missing.
#   scripts/setup.sh native    compiler, CMake, GoogleTest, Google Benchmark, ncurses, libvterm,
#                              and dpkg-dev, lintian and hardening-check (devscripts) for the
#                              Debian package and its test
#   scripts/setup.sh windows   + mingw-w64 cross compiler, Wine, Xvfb, ImageMagick: for the
#                              32-bit program, or also the 64-bit one where this
#                              machine can't start 32-bit programs (or is taken
#                              for one: LUMOCALC_NO_32BIT=1, no wine32 then)
#   scripts/setup.sh windows64 + the 64-bit Windows build and wine64, on any machine
#   scripts/setup.sh fuzz      + clang with libFuzzer
#   scripts/setup.sh arm64     + AArch64 cross compiler, the target's ncurses (a multiarch
#                              package) and QEMU user mode to run its tests
#   scripts/setup.sh release   + diffoscope, which shows where two builds of a release differ
#   scripts/setup.sh web       + emscripten, Node.js and npm (unless some Node is there
#                              already), Chromium, and the npm packages package-lock.json
#                              pins (playwright-core, which downloads no browser)
set -euo pipefail

native=(cmake g++ make libgtest-dev libgmock-dev googletest libbenchmark-dev libncurses-dev
        libvterm-dev dpkg-dev lintian devscripts)
# The 32-bit program is built everywhere; Wine for it only where the kernel
# starts 32-bit programs. windows64 is the 64-bit build and its Wine, for the
# machines that can't, or to test both builds.
windows=(g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 wine fonts-wine xvfb xauth xdotool
         imagemagick)
windows32=(wine32:i386)
windows64=(g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64 wine64)
fuzz=(clang libclang-rt-dev)
arm64=(g++-aarch64-linux-gnu libncurses-dev:arm64 qemu-user)
web=(emscripten chromium fonts-dejavu-core)
release=(diffoscope-minimal)

wanted=("${native[@]}")
npm_packages=0
for purpose in "$@"; do
  case "$purpose" in
    native) ;;
    windows)
      wanted+=("${windows[@]}")
      # shellcheck source=scripts/wine-prefix.sh
      source "$(dirname "$0")/wine-prefix.sh"
      if can_start_32bit_x86; then wanted+=("${windows32[@]}"); else wanted+=("${windows64[@]}"); fi
      ;;
    windows64) wanted+=("${windows[@]}" "${windows64[@]}") ;;
    fuzz) wanted+=("${fuzz[@]}") ;;
    arm64) wanted+=("${arm64[@]}") ;;
    release) wanted+=("${release[@]}") ;;
    web)
      wanted+=("${web[@]}")
      command -v node >/dev/null || wanted+=(nodejs)
      command -v npm >/dev/null || wanted+=(npm)
      npm_packages=1 ;;
    *) echo "setup.sh: unknown purpose $purpose" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && [ $npm_packages -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
[ ${#missing[@]} -eq 0 ] || echo "setup.sh: installing ${missing[*]}" >&2
for arch in i386 arm64; do
  if printf '%s\n' "${missing[@]}" | grep -q ":$arch\$" &&
     ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
    $sudo dpkg --add-architecture "$arch"
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The npm packages, unless those installed are the ones package-lock.json pins.
if [ $npm_packages -eq 1 ]; then
  cd "$(dirname "$0")/.."
  if ! npm ls --depth=0 >/dev/null 2>&1; then
    echo "setup.sh: installing the npm packages of package-lock.json" >&2
    PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund >&2
  fi
fi
