#!/usr/bin/env bash
# Builds and runs the document benchmark in the build's Wine prefix.
# Usage: bench/run.sh [pages] [objects per page] [--memory] [--keep PATH]
#        (QM_BUILD_DIR picks the build, relative to the project or absolute)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${QM_BUILD_DIR:-build}
checked=$(date +%s.%N)
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
JOBS=$(nproc)
[ "$JOBS" -gt 4 ] && JOBS=4
cmake --build "$BUILD" --target qm_bench -j"$JOBS" >/dev/null
awk -v from="$checked" -v to="$(date +%s.%N)" \
  'BEGIN { printf "build check of qm_bench   %8.3f s\n", to - from }'
case "$BUILD" in /*) ;; *) BUILD="$PWD/$BUILD" ;; esac
started=$(date +%s.%N)
. tests/wine_env.sh "$BUILD/wineprefix" null
qm_prefix_init
# The time Wine takes around the program (the prefix, its start before the
# process exists and its end after) is what the program cannot time itself.
out=$(mktemp)
status=0
"$QM_WINE" "$BUILD/bench/qm_bench.exe.so" "$@" | tee "$out" || status=$?
awk -v from="$started" -v to="$(date +%s.%N)" '
  /wall time of the process/ { inside = $(NF - 1) }
  END { if (inside != "") printf "Wine around the program   %8.3f s\n", to - from - inside }' "$out"
rm -f "$out"
exit $status
