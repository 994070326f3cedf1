#!/usr/bin/env bash
# The web page, built and tested:
#   1. the module and lumocalc.html (scripts/build-web.sh), sizes raw and gzip;
#   2. the module under Node against lumocalc-eval built with the software
#      extended format (build/soft) on LINES generated lines (100,000; seed 1);
#   3. the page in headless Chromium: the window's scenarios that apply, the
#      page's own and 200 generated sessions (scripts/play-sessions.sh plays
#      more), with screenshots left in build/web/test-output.
#   scripts/test-web.sh [LINES [SEED]]
set -euo pipefail
cd "$(dirname "$0")/.."
lines=${1:-100000}
seed=${2:-1}

scripts/build-web.sh

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export LUMOCALC_CHROMIUM=${LUMOCALC_CHROMIUM:-$(command -v chromium || echo /usr/bin/chromium)}
if ! HOME=$home timeout 60 "$LUMOCALC_CHROMIUM" --headless --no-sandbox --disable-gpu \
  --dump-dom about:blank >/dev/null 2>"$home/errors"; then
  echo "test-web.sh: Chromium cannot start here: $(grep -v -i dbus "$home/errors" | tail -n 1)" >&2
  exit 1
fi

[ -f build/soft/CMakeCache.txt ] || cmake -S . -B build/soft -DCMAKE_BUILD_TYPE=Release \
  -DLUMOCALC_SOFT_EXTENDED=ON -DLUMOCALC_BENCHMARKS=OFF >/dev/null
cmake --build build/soft -j 2 --target lumocalc-eval differential-run session-player >/dev/null

export LUMOCALC_MODULE=$PWD/build/web/web/lumocalc.js LUMOCALC_PAGE=$PWD/build/web/web/lumocalc.html
export LUMOCALC_EVAL=$PWD/build/soft/cli/lumocalc-eval
export LUMOCALC_DIFFERENTIAL_RUN=$PWD/build/soft/tests/differential/differential-run
export LUMOCALC_SESSION_PLAYER=$PWD/build/soft/tests/term/session-player LUMOCALC_SESSIONS=200
export LUMOCALC_COUNT=$lines LUMOCALC_SEED=$seed HOME=$home
node --test tests/web/
echo "Screenshots: build/web/test-output/"
