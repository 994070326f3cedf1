#!/usr/bin/env bash
# Builds the Windows program with the mingw-w64 cross compiler and tests it
# under Wine on a virtual screen of its own (Xvfb): the engine's and the
# window logic's unit tests on the target's runtime, the UI tests that drive
# lumocalc.exe, and the import table. Then takes a screenshot of a short
# session and makes the release package.
#   scripts/test-windows.sh
# Output: build/win (build tree, Wine prefix), build/win/test-output
# (screenshot.png), build/win/lumocalc-*-win32.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/win
out=$build/test-output

scripts/setup.sh windows

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/MinGW-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DLUMOCALC_WERROR=ON -DLUMOCALC_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j 2

# shellcheck source=scripts/wine-prefix.sh
source scripts/wine-prefix.sh
xvfb_pid=""
cleanup() {
  wineserver -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -f "$build/.xvfb-display"
}
trap cleanup EXIT

# A screen of our own, whatever DISPLAY says: the tests press keys and move
# the mouse, which must not reach a person's desktop.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$build/.xvfb-display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$build/.xvfb-display" ] && break
  sleep 0.05
done
export DISPLAY=":$(cat "$build/.xvfb-display")"

use_wine_prefix "$build/wineprefix"
wineserver -p  # one server for the whole run keeps every start warm
# Wine's own background processes start with the first program and live as
# long as the server. Started here, they hold /dev/null rather than the output
# pipe of the first test, which ctest would otherwise wait on until its timeout.
wine cmd /c exit </dev/null >/dev/null 2>&1

ctest --test-dir "$build" --output-on-failure -j 2

# A short session as a person would type it, photographed for a look.
mkdir -p "$out"
(cd "$out" && wine "$build/ui/lumocalc.exe") &
program=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^lumo calc$' | head -1)
sleep 0.3
for line in '1234567.891*2' '(1+2)(3+4)' '1/3'; do
  xdotool type --delay 20 "$line"
  xdotool key Return
done
xdotool type --delay 20 '2^0.5*100'
sleep 0.5
# Idle, the program waits for messages rather than polling for them: it must
# use next to no processor time in a second (/proc counts 1/100 s ticks).
pid=$(xdotool getwindowpid "$window")
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
before=$(ticks)
sleep 1
used=$(($(ticks) - before))
if [ "$used" -gt 10 ]; then
  echo "test-windows.sh: the idle lumocalc.exe used ${used}0 ms of processor time in 1 s" >&2
  exit 1
fi
import -window "$window" "$out/screenshot.png"
xdotool key alt+F4
wait "$program"
echo "screenshot: $out/screenshot.png"

# The release package: the stripped program and the README.
(cd "$build" && cpack -G ZIP >/dev/null)
package=$(ls "$build"/lumocalc-*-win32.zip)
cmake -E chdir "$out" cmake -E tar tf "$package"
echo "package: $package ($(stat -c %s "$package") bytes)"
