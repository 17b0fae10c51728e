#!/usr/bin/env bash
# Runs one test program under Wine, headless (null display driver), in a
# prefix of its own copied from the build's template, so that test programs
# run side by side; the prefix and its wineserver go when the program ends.
#   QM_BUILD_DIR=BUILD tests/run_wine_test.sh PROGRAM [gtest arguments]
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/prefix.sh"
trap qm_private_cleanup EXIT
trap 'exit 143' TERM INT
qm_private_prefix "${QM_BUILD_DIR:?}" null || exit 1
exe=$1; shift
"$QM_WINE" "$exe.so" "$@"
