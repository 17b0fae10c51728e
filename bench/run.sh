#!/usr/bin/env bash
# Builds and runs the document benchmark in the build's Wine prefix.
# Usage: bench/run.sh [pages] [objects per page]   (QM_BUILD_DIR picks the build)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${QM_BUILD_DIR:-build}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target qm_bench -j"$(nproc)" >/dev/null
. tests/wine_env.sh "$PWD/$BUILD/wineprefix" null
qm_prefix_init
exec "$QM_WINE" "$PWD/$BUILD/bench/qm_bench.exe.so" "$@"
