#!/usr/bin/env bash
# Sets up what is missing, builds, and starts lumo calc.
#   With a display ($DISPLAY set): the Windows program, lumocalc.exe, under
#   Wine (the first start prepares a Wine prefix in build/wineprefix-run, about
#   10 s).
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
  # The same configuration as scripts/test-windows.sh, so the two share build/win.
  if [ ! -f build/win/CMakeCache.txt ]; then
    cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/MinGW-i686.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DLUMOCALC_WERROR=ON -DLUMOCALC_BENCHMARKS=OFF >/dev/null
  fi
  cmake --build build/win -j 2 --target lumocalc >/dev/null
  # shellcheck source=scripts/wine-prefix.sh
  source scripts/wine-prefix.sh
  [ -f build/wineprefix-run/.lumocalc-ready ] || echo "run.sh: preparing Wine (once)" >&2
  use_wine_prefix "$PWD/build/wineprefix-run"
  exec wine build/win/ui/lumocalc.exe
fi

scripts/setup.sh native >&2
if [ ! -f build/release/CMakeCache.txt ]; then
  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
jobs=$(nproc 2>/dev/null || echo 2)
if [ $# -eq 0 ] && [ -t 0 ] && [ -t 1 ]; then
  cmake --build build/release -j "$jobs" --target lumocalc >/dev/null
  exec build/release/term/lumocalc
fi
cmake --build build/release -j "$jobs" --target lumocalc-eval >/dev/null
exec build/release/cli/lumocalc-eval "$@"
