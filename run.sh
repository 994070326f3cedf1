#!/usr/bin/env bash
# Sets up what is missing, builds, and starts lumo calc.
#   With a display ($DISPLAY set): the Windows program, lumocalc.exe, under
#   Wine: the 32-bit program, or the 64-bit one on a machine that cannot start
#   32-bit programs (the first start prepares a Wine prefix in the build tree,
#   about 10 s). LUMOCALC_NO_32BIT=1 takes any machine for one of the latter
#   (scripts/wine-prefix.sh).
#   Without one: on a terminal and with no arguments, the terminal calculator
#   lumocalc; otherwise the console evaluator, which takes the arguments or
#   the lines of standard input: `./run.sh '2+3*4'`, `echo 1/3 | ./run.sh`.
#   `DISPLAY= ./run.sh` picks these on a desktop too.
#   `./run.sh web`: builds the web page and prints its path; with a display, opens it.
set -euo pipefail
cd "$(dirname "$0")"

if [ "${1:-}" = web ]; then
  scripts/build-web.sh >&2
  page=$PWD/build/web/web/lumocalc.html
  echo "$page"
  [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || exit 0
  if command -v xdg-open >/dev/null; then
    xdg-open "$page" >/dev/null 2>&1 &
  elif command -v chromium >/dev/null; then
    # As root Chromium starts only without its sandbox.
    sandbox=()
    [ "$(id -u)" -ne 0 ] || sandbox=(--no-sandbox)
    chromium "${sandbox[@]}" "$page" >/dev/null 2>&1 &
  else
    echo "run.sh: no browser found to open it" >&2
  fi
  exit 0
fi

if [ -n "${DISPLAY:-}" ]; then
  scripts/setup.sh windows >&2
  # shellcheck source=scripts/wine-prefix.sh
  source scripts/wine-prefix.sh
  without_32bit_starts "$PWD/run.sh" "$@"
  # The 32-bit program where this machine starts 32-bit programs, else the
  # 64-bit one; each in the build tree that scripts/test-windows.sh uses.
  choose_windows_build
  [ "$windows_bits" = 64 ] && scripts/setup.sh windows64 >&2
  build_windows "$windows_build" "$windows_toolchain" --target lumocalc >/dev/null
  [ -f "$windows_build/wineprefix-run/.lumocalc-ready" ] || echo "run.sh: preparing Wine (once)" >&2
  use_wine_prefix "$windows_build/wineprefix-run"
  exec "$WINE" "$windows_build/ui/lumocalc.exe"
fi

scripts/setup.sh native >&2
# shellcheck source=scripts/build-tree.sh
source scripts/build-tree.sh
if [ $# -eq 0 ] && [ -t 0 ] && [ -t 1 ]; then
  build_tree build/release -- --target lumocalc >/dev/null
  exec build/release/term/lumocalc
fi
build_tree build/release -- --target lumocalc-eval >/dev/null
exec build/release/cli/lumocalc-eval "$@"
