#!/usr/bin/env bash
# Runs one test program under Wine in the build's private prefix, headless.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_env.sh" "${WINEPREFIX:?}" null
# A prefix made or switched to the null driver here when ctest runs alone.
qm_prefix_init
exe=$1; shift
exec "$QM_WINE" "$exe.so" "$@"
