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
# GoogleTest's report is written once every test has run. Wine ends a
# process that does not finish exiting within a second of asking with
# SIGKILL, which a heavily loaded machine can cause after the last test:
# such a run counts by its report (every test run and none failed), never
# a run killed before its report was written. (The test kit's file calls
# are the host's, so the report's path is a host path.)
report="$QM_PRIVATE_PREFIX/report.xml"
case " $* " in
*" --gtest_output="*|*" --gtest_list_tests "*) report= ;;
esac
if [ -n "$report" ]; then
    "$QM_WINE" "$exe.so" "$@" --gtest_output="xml:$report"
else
    "$QM_WINE" "$exe.so" "$@"
fi
status=$?
if [ "$status" -eq 137 ] && [ -n "$report" ] && [ -s "$report" ] &&
   grep -q '<testsuites [^>]*failures="0"[^>]*errors="0"' "$report"; then
    echo "Wine ended the program with SIGKILL while it exited; its report shows every test passed."
    status=0
fi
exit $status
