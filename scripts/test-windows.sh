#!/usr/bin/env bash
# Builds the Windows program with the mingw-w64 cross compiler and tests it
# under Wine on a virtual screen of its own (Xvfb): the engine's, the
# session's and the layout's unit tests on the target's runtime, the UI tests
# that drive lumocalc.exe, the import table, an idle check and a screenshot of
# a short session; then makes the release package.
#   scripts/test-windows.sh
# The delivered program is the 32-bit one. On a machine whose kernel cannot
# start 32-bit x86 programs, Wine cannot run it: there the 32-bit program is
# still built, its import table checked and its package made, and every test
# that runs a program runs on the 64-bit build under the 64-bit Wine instead.
# LUMOCALC_WINDOWS_BITS=64 takes that road on any machine; =32 insists on the
# 32-bit one; =both runs the whole test twice, 32-bit then 64-bit, for a
# change where the two builds may differ (pointer sizes, the FPU's start-up
# mode); by default a machine that runs the 32-bit program tests only that.
# LUMOCALC_NO_32BIT=1 takes a machine that can for one that can't, all the
# way: the probe says no, and Wine's 32-bit loader and server fail with "Exec
# format error" (exit 126; scripts/wine-prefix.sh), so that a 32-bit start
# shows rather than quietly working.
# Output: build/win (32-bit), build/win64 (64-bit, where tested), each with
# its Wine prefix; build/win*/test-output/screenshot.png;
# build/win/lumocalc-*-win32.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
self=$root/scripts/test-windows.sh
if [ "${LUMOCALC_WINDOWS_BITS:-}" = both ]; then
  LUMOCALC_WINDOWS_BITS=32 "$self"
  exec env LUMOCALC_WINDOWS_BITS=64 "$self"
fi

scripts/setup.sh windows
# shellcheck source=scripts/wine-prefix.sh
source scripts/wine-prefix.sh
without_32bit_starts "$self" "$@"
choose_windows_build
[ "$windows_bits" = 64 ] && scripts/setup.sh windows64
echo "test-windows.sh: $windows_why"
build=$windows_build
out=$build/test-output

if [ "$windows_bits" = 32 ]; then
  build_windows "$build" "$windows_toolchain"
else
  # What needs no Wine is still done on the delivered program, without the
  # 32-bit tree's ctest: listing its tests starts its test programs.
  build_windows "$root/build/win" "$root/cmake/MinGW-i686.cmake" --target lumocalc
  echo "test-windows.sh: the import table of $root/build/win/ui/lumocalc.exe"
  cmake -DOBJDUMP="$(sed -n 's/^CMAKE_OBJDUMP:FILEPATH=//p' "$root/build/win/CMakeCache.txt")" \
    -DPROGRAM="$root/build/win/ui/lumocalc.exe" -P "$root/tests/win32/check_imports.cmake"
  build_windows "$build" "$windows_toolchain"
fi

xvfb_pid=""
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
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
DISPLAY=":$(cat "$build/.xvfb-display")"
export DISPLAY

use_wine_prefix "$build/wineprefix"
"$WINESERVER" -p  # one server for the whole run keeps every start warm
# Wine's own background processes start with the first program and live as
# long as the server. Started here, they hold /dev/null rather than the output
# pipe of the first test, which ctest would otherwise wait on until its timeout.
"$WINE" cmd /c exit </dev/null >/dev/null 2>&1

ctest --test-dir "$build" --output-on-failure -j 2

# A short session as a person would type it, photographed for a look.
mkdir -p "$out"
(cd "$out" && "$WINE" "$build/ui/lumocalc.exe") &
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

# The release package, of the 32-bit program: the stripped program, the
# README, LICENSE and NOTICES.txt, as built above (the package builds nothing
# itself).
(cd "$root/build/win" && cpack -G ZIP >/dev/null)
package=$(ls "$root"/build/win/lumocalc-*-win32.zip)
members=$(cmake -E chdir "$out" cmake -E tar tf "$package" | LC_ALL=C sort | tr '\n' ' ')
echo "$members"
[ "$members" = "LICENSE NOTICES.txt README.md lumocalc.exe " ] ||
  { echo "test-windows.sh: the package holds $members" >&2; exit 1; }
# The program loads at a random address (ASLR) with its data not executable
# (DEP), and the linker wrote no build time, which would make every build
# differ.
headers=$("$(sed -n 's/^CMAKE_OBJDUMP:FILEPATH=//p' "$root/build/win/CMakeCache.txt")" -p \
  "$root/build/win/ui/lumocalc.exe")
for want in DYNAMIC_BASE NX_COMPAT 'Time/Date.*1970'; do
  grep -q -E "^\s*$want" <<<"$headers" ||
    { echo "test-windows.sh: lumocalc.exe's PE header lacks $want" >&2; exit 1; }
done
echo "package: $package ($(stat -c %s "$package") bytes)"
echo "test-windows.sh: the $windows_bits-bit Windows build passed its tests ($build)"
