# shellcheck shell=bash
# Which Windows build this machine can run, and the Wine settings for running
# it; sourced by run.sh and scripts/test-windows.sh.
#   choose_windows_build   sets windows_bits (32 or 64), windows_build (its
#                          build tree), windows_toolchain, windows_why (one
#                          plain line), WINE and WINESERVER
#   use_wine_prefix DIR    exports WINEPREFIX=DIR and friends, and prepares the
#                          prefix once (about 10 s): fonts and window handling;
#                          says so and fails where Wine can't start at all
#                          (its loader missing, broken, or 32-bit where the
#                          kernel starts no 32-bit program)
#   without_32bit_starts "$0" "$@"
#                          with LUMOCALC_NO_32BIT=1, re-executes the calling
#                          script where no 32-bit program can start
# LUMOCALC_WINDOWS_BITS=64 (or 32) skips the choice: 64 tries on any machine
# what a machine without 32-bit support runs. LUMOCALC_NO_32BIT=1 goes
# further: the machine is taken for one whose kernel cannot start 32-bit x86
# programs, so that what runs only there (setup.sh installing no wine32, the
# 32-bit program checked without being started) is tried where 32-bit
# programs do start: the probe says no, and Wine's 32-bit loader and server
# fail with "Exec format error" (exit 126), as they would there.

# Some kernels are built without 32-bit x86 support; there every 32-bit Linux
# program, Wine's 32-bit loader among them, fails with "Exec format error".
# Wine's own exit status can't tell that from a missing or broken Wine, so the
# probe is a 96-byte 32-bit ELF program that only exits with 42.
can_start_32bit_x86() {
  local probe status=0 root
  if no_32bit; then return 1; fi
  # In the build tree rather than /tmp, which may be mounted noexec.
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  mkdir -p "$root/build"
  probe=$(mktemp -p "$root/build" probe-XXXXXX)
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00%b%b%b' \
    '\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
    '\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00' \
    '\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xbb\x2a\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80' \
    >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" -eq 42 ]
}

no_32bit() { [ "${LUMOCALC_NO_32BIT:-0}" != 0 ]; }

# Debian's wine32 puts its 32-bit programs beside the 64-bit ones: the loader
# (which the `wine` script prefers, and to which the 64-bit loader hands a
# 32-bit .exe), its preloader where built, and the server (which the
# `wineserver` script takes only without wineserver64). In a mount namespace
# of the script's own, each is covered by a stub that fails as the kernel
# would, so that a 32-bit start shows rather than quietly working.
without_32bit_starts() {
  no_32bit && [ -z "${LUMOCALC_NO_32BIT_NAMESPACE:-}" ] || return 0
  export LUMOCALC_NO_32BIT_NAMESPACE=1
  local loaders=(/usr/lib/wine/wine /usr/lib/wine/wine-preloader /usr/lib/wine/wineserver32)
  local loader present=0 root stub unshare=(unshare -m)
  for loader in "${loaders[@]}"; do [ ! -e "$loader" ] || present=1; done
  [ $present -eq 1 ] || return 0  # no 32-bit Wine here: nothing to hide
  [ "$(id -u)" -eq 0 ] || unshare=(unshare -rm)
  if ! "${unshare[@]}" true 2>/dev/null; then
    echo "LUMOCALC_NO_32BIT=1: no private mount namespace can be made here (${unshare[*]})," \
      "so only the probe says no; Wine's 32-bit loader still starts" >&2
    return 0
  fi
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  stub=$root/build/exec-format-error
  mkdir -p "$root/build"
  # In the build tree rather than /tmp, which may be mounted noexec.
  # shellcheck disable=SC2016 # expanded by the stub
  printf '#!/bin/sh\necho "$0: Exec format error" >&2\nexit 126\n' >"$stub.$$"
  chmod +x "$stub.$$"
  mv -f "$stub.$$" "$stub"
  # shellcheck disable=SC2016 # expanded by the inner shell
  exec "${unshare[@]}" sh -c 'stub=$1; shift
    for loader in '"${loaders[*]}"'; do
      [ ! -e "$loader" ] || mount --bind "$stub" "$loader" || {
        echo "LUMOCALC_NO_32BIT=1: cannot cover $loader with a stub" >&2; exit 1; }
    done
    exec "$@"' sh "$stub" "$@"
}

# shellcheck disable=SC2034 # the settings are the caller's
choose_windows_build() {
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  windows_bits=${LUMOCALC_WINDOWS_BITS:-}
  if [ -z "$windows_bits" ]; then
    if can_start_32bit_x86; then
      windows_bits=32
      windows_why="this machine starts 32-bit x86 programs: testing the 32-bit lumocalc.exe"
    elif no_32bit; then
      windows_bits=64
      windows_why="LUMOCALC_NO_32BIT=1, as on a machine that cannot start 32-bit x86 programs: testing the 64-bit lumocalc.exe under the 64-bit Wine"
    else
      windows_bits=64
      windows_why="this machine cannot start 32-bit x86 programs: testing the 64-bit lumocalc.exe under the 64-bit Wine"
    fi
  else
    windows_why="LUMOCALC_WINDOWS_BITS=$windows_bits: testing the $windows_bits-bit lumocalc.exe"
  fi
  case "$windows_bits" in
    32)
      windows_build=$root/build/win
      windows_toolchain=$root/cmake/MinGW-i686.cmake
      WINE=wine
      WINESERVER=wineserver
      ;;
    64)
      windows_build=$root/build/win64
      windows_toolchain=$root/cmake/MinGW-x86_64.cmake
      # The `wine` script would pick the 32-bit loader whenever it is installed.
      WINE=/usr/lib/wine/wine64
      WINESERVER=/usr/lib/wine/wineserver64
      export WINELOADER=$WINE
      ;;
    *)
      echo "LUMOCALC_WINDOWS_BITS must be 32 or 64, not $windows_bits" >&2
      return 2
      ;;
  esac
}

# Configures a Windows build tree once (the same settings for run.sh and the
# tests, so that they share it) and brings the given targets up to date.
build_windows() {
  local build=$1 toolchain=$2
  shift 2
  # shellcheck source=scripts/build-tree.sh
  source "$(dirname "${BASH_SOURCE[0]}")/build-tree.sh"
  build_tree "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DLUMOCALC_WERROR=ON \
    -DLUMOCALC_BENCHMARKS=OFF -- "$@"
}

use_wine_prefix() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  # No .NET or HTML engine downloads, no menu entries on the Linux desktop.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  local cannot="Wine ($WINE) cannot start a Windows program on this machine, so the window"
  cannot+=" can't open here; DISPLAY= ./run.sh starts the terminal calculator instead"
  # A prefix made before does not say that Wine still starts: the loader is
  # tried every time (a few ms).
  if ! "$WINE" --version >/dev/null 2>&1; then
    echo "$cannot" >&2
    return 1
  fi
  [ -f "$WINEPREFIX/.lumocalc-ready" ] && return 0

  mkdir -p "$WINEPREFIX"
  if ! "$WINE" wineboot -i >/dev/null 2>&1; then
    echo "$cannot" >&2
    return 1
  fi
  "$WINESERVER" -w
  # Debian's Wine does not find the fonts of fonts-wine by itself; without
  # them "MS Sans Serif" and "Tahoma" fall back to another face, and the
  # dialog units and the look change with it.
  dpkg -L fonts-wine | grep -E '\.(ttf|fon)$' | xargs -r cp -t "$WINEPREFIX/drive_c/windows/Fonts/"
  # Without a window manager Wine waits 2 s whenever a top-level window is
  # hidden or destroyed, unless it handles the windows itself.
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  "$WINESERVER" -w
  touch "$WINEPREFIX/.lumocalc-ready"
}
