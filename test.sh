#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test side by
# side (each test in a Wine prefix and, for window checks, on an X server of
# its own). Prints the build time and the test time at the end.
set -euo pipefail
cd "$(dirname "$0")"
./deps.sh
BUILD=${QM_BUILD_DIR:-build}
JOBS=$(nproc)
start=$(date +%s)
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j"$JOBS" 2>&1 | grep -vE '^\[ *[0-9]+%\]|^-- ' || true
cmake --build "$BUILD" -j"$JOBS" >/dev/null   # fails here when the build failed
built=$(date +%s)
# Leftovers of an interrupted earlier run.
rm -rf "$BUILD/prefixes"
status=0
ctest --test-dir "$BUILD" --output-on-failure -j"$JOBS" "$@" || status=$?
tested=$(date +%s)
echo "build time: $((built - start)) s, test time: $((tested - built)) s"
exit $status
