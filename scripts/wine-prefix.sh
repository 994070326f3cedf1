# Wine settings for running lumo calc and its tests; sourced by run.sh and
# scripts/test-windows.sh.
#   use_wine_prefix DIR   exports WINEPREFIX=DIR and friends, and prepares the
#                         prefix once (about 10 s): fonts and window handling.

use_wine_prefix() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  # No .NET or HTML engine downloads, no menu entries on the Linux desktop.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  [ -f "$WINEPREFIX/.lumocalc-ready" ] && return 0

  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  # Debian's Wine does not find the fonts of fonts-wine by itself; without
  # them "MS Sans Serif" and "Tahoma" fall back to another face, and the
  # dialog units and the look change with it.
  dpkg -L fonts-wine | grep -E '\.(ttf|fon)$' | xargs -r cp -t "$WINEPREFIX/drive_c/windows/Fonts/"
  # Without a window manager Wine waits 2 s whenever a top-level window is
  # hidden or destroyed, unless it handles the windows itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.lumocalc-ready"
}
