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
# LUMOCALC_WINDOWS_BITS=64 (or 32) skips the choice: 64 tries on any machine
# what a machine without 32-bit support runs.

# Some kernels are built without 32-bit x86 support; there every 32-bit Linux
# program, Wine's 32-bit loader among them, fails with "Exec format error".
# Wine's own exit status can't tell that from a missing or broken Wine, so the
# probe is a 96-byte 32-bit ELF program that only exits with 42.
can_start_32bit_x86() {
  local probe status=0 root
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

choose_windows_build() {
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  windows_bits=${LUMOCALC_WINDOWS_BITS:-}
  if [ -z "$windows_bits" ]; then
    if can_start_32bit_x86; then
      windows_bits=32
      windows_why="this machine starts 32-bit x86 programs: testing the 32-bit lumocalc.exe"
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
