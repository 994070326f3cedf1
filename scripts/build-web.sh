#!/usr/bin/env bash
# Builds the web page with Debian's emscripten into build/web (configured
# once) and reports its size, raw and gzip: build/web/web/lumocalc.html, and
# the module it embeds, build/web/web/lumocalc.js, which runs under Node too.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh web >&2
# A Node that is not Debian's lacks the path of the JavaScript packages
# emscripten needs (acorn). emcmake's own emulator setting passes a flag
# Node 20 refuses.
export NODE_PATH=/usr/share/nodejs
if [ ! -f build/web/CMakeCache.txt ]; then
  emcmake cmake -S . -B build/web -DCMAKE_BUILD_TYPE=Release -DLUMOCALC_WERROR=ON \
    -DBUILD_TESTING=OFF -DLUMOCALC_BENCHMARKS=OFF \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" >/dev/null
fi
cmake --build build/web -j 2 >/dev/null
for file in build/web/web/lumocalc.html build/web/web/lumocalc.js; do
  echo "$file: $(wc -c <"$file") bytes, $(gzip -9 <"$file" | wc -c) gzip"
done
