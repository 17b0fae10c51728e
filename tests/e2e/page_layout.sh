#!/usr/bin/env bash
# The page layout sheet under Xvfb with the real program: a new document's
# first page laid out on the Custom Size page as 5 x 7 inches, a second page
# appended (Append to Last, the sheet answered) and named "Back" in the
# page-name dialog, then Save As and the file read back with the program's
# own reader: two pages, the second named "Back", page 1 of 7200 x 10080
# twips (tests/e2e/qmdrive.cpp works the windows).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

"$QM_WINE" "$exe.so" &
program=$!
wait_frame "$program"
sheet=$(drive layout 4 310 5 311 7) || fail "the Custom Size page did not take 5 x 7 inches"
echo "first page sheet: $sheet"
[ "$sheet" = "Create the First Page of the New File" ] || fail "the page sheet is \"$sheet\""
drive find >/dev/null || fail "no workspace"

drive post 615
sheet=$(drive firstpage) || fail "no page sheet for the appended page"
echo "append sheet: $sheet"
title=$(drive title)
echo "title after Append to Last: $title"
case "$title" in *"Page 2 of 2"*) ;; *) fail "no second page: $title" ;; esac

drive post 628
drive answer 101 Back || fail "the page-name dialog did not take \"Back\""

doc="$work/home/layout.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive saveas "$docwin" || fail "Save As did not write the document"
drive close || fail "the frame did not close"
wait "$program" || true

report=$(drive inspect "$docwin")
echo "$report"
grep -qx "pages 2" <<<"$report" || fail "the saved document does not have two pages"
grep -qx "name 2: Back" <<<"$report" || fail "the second page is not named Back"
grep -qx "size 1: 7200 10080" <<<"$report" || fail "page 1 is not 7200 x 10080 twips"
echo "page layout passed"
