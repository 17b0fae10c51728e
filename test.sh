#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./deps.sh
BUILD=${QM_BUILD_DIR:-build}
JOBS=$(nproc)
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j"$JOBS" 2>&1 | grep -vE '^\[ *[0-9]+%\]|^-- ' || true
cmake --build "$BUILD" -j"$JOBS" >/dev/null   # fails here when the build failed
case "$BUILD" in /*) prefix="$BUILD/wineprefix" ;; *) prefix="$PWD/$BUILD/wineprefix" ;; esac
. tests/wine_env.sh "$prefix" null
qm_prefix_init
ctest --test-dir "$BUILD" --output-on-failure -j"$JOBS" "$@"
