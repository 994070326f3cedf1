#!/usr/bin/env bash
# Plays generated sessions (testkit/session_generator.h) on a front end, the
# line session their reference: after every action the front end must show
# the reference's input, answer, waiting count and history. A mismatch prints
# its seed, the fewest actions that still fail and both states. Ends with one
# line, "N sessions, M mismatches"; exit status 1 on mismatches.
#   scripts/play-sessions.sh terminal|page|window [COUNT [SEED]]
# COUNT sessions (1,000), of seeds SEED (1), SEED+1, ...
#   terminal  lumocalc in a pseudo-terminal rendered by libvterm (build/release)
#   page      the page (build/web) in headless Chromium; the reference is built
#             with the software extended format, as the module computes (build/soft)
#   window    lumocalc.exe under Wine on a screen of its own (Xvfb), driven by
#             tests/win32/'s program: the 32-bit build (build/win), or the 64-bit
#             one under wine64 (build/win64) where 32-bit programs can't start
#             (scripts/wine-prefix.sh chooses, and says which)
set -euo pipefail
cd "$(dirname "$0")/.."
front_end=${1:-}
count=${2:-1000}
seed=${3:-1}
# shellcheck source=scripts/build-tree.sh
source scripts/build-tree.sh

case $front_end in
  terminal)
    build_tree build/release -DLUMOCALC_WERROR=ON -- --target session-player >/dev/null
    exec build/release/tests/term/session-player terminal "$count" "$seed"
    ;;
  page)
    scripts/build-web.sh >/dev/null
    build_tree build/soft -DLUMOCALC_SOFT_EXTENDED=ON -DLUMOCALC_BENCHMARKS=OFF \
      -- --target session-player >/dev/null
    home=$(mktemp -d)
    trap 'rm -rf "$home"' EXIT
    status=0
    HOME=$home LUMOCALC_SESSION_PLAYER=$PWD/build/soft/tests/term/session-player \
      LUMOCALC_SESSIONS=$count LUMOCALC_SESSION_SEED=$seed \
      node --test --test-name-pattern='generated sessions' tests/web/page.test.mjs \
      >"$home/out" || status=$?
    # The player's own lines, which the test runner passes on as comments.
    if ! grep -q '^# [0-9]* sessions, [0-9]* mismatches$' "$home/out"; then
      cat "$home/out"
      echo "$count sessions: the page's player stopped before the end" >&2
      exit 1
    fi
    sed -n '/^# \(Subtest:\|tests\|suites\|pass\|fail\|cancelled\|skipped\|todo\|duration_ms\) /d; s/^# //p' \
      "$home/out"
    exit $status
    ;;
  window)
    scripts/setup.sh windows >/dev/null
    # shellcheck source=scripts/wine-prefix.sh
    source scripts/wine-prefix.sh
    without_32bit_starts "$PWD/scripts/play-sessions.sh" "$@"
    choose_windows_build
    echo "play-sessions.sh: $windows_why" >&2
    [ "$windows_bits" = 64 ] && scripts/setup.sh windows64 >/dev/null
    build_windows "$windows_build" "$windows_toolchain" --target window-tests >/dev/null
    # scripts/test-windows.sh's prefix: not while that runs.
    use_wine_prefix "$windows_build/wineprefix"
    # A screen of its own, which must outlive Wine's server: its programs
    # would complain of a lost screen.
    # shellcheck disable=SC2016 # expanded by the inner shell
    exec xvfb-run -a -s '-screen 0 1280x1024x24 -nolisten tcp' sh -c \
      'server=$1; shift; status=0; "$@" || status=$?; "$server" -k; exit $status' sh \
      "$WINESERVER" "$WINE" "$windows_build/tests/win32/window-tests.exe" \
      --sessions "$count" "$seed" "$windows_build/ui"
    ;;
  *)
    echo "usage: scripts/play-sessions.sh terminal|page|window [COUNT [SEED]]" >&2
    exit 2
    ;;
esac
