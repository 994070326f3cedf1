#!/usr/bin/env bash
# Sets up what is missing, builds, and starts lumo calc. Arguments go to the
# console evaluator: `./run.sh '2+3*4'`, or `./run.sh` to type lines.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh native >&2
if [ ! -x build/release/cli/lumocalc-eval ]; then
  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build build/release -j "$(nproc 2>/dev/null || echo 2)" --target lumocalc-eval >/dev/null
exec build/release/cli/lumocalc-eval "$@"
