#!/usr/bin/env bash
# A protected document started from the command line under Xvfb: the
# program asks for its password before showing anything; a wrong entry
# gives the retry warning, the right one shows the page; a second start
# answered with Cancel opens no document of that file.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

doc="$work/home/locked.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive newdoc "$docwin" 1 Sesame || fail "the protected document was not written"
[ -s "$doc" ] || fail "no document file was written"

"$QM_WINE" "$exe.so" "$docwin" &
first=$!
answer=$(drive password Sezame) || fail "no password dialog at the first start"
echo "$answer"
echo "$answer" | grep -qx "Password" || fail "the dialog is not \"Password\""
echo "$answer" | grep -qx "box: Incorrect password.  Please retry" || fail "no retry warning: $answer"
answer=$(drive password sesame) || fail "the dialog did not stay for a retry"
echo "$answer" | grep -q "^box:" && fail "the right password was refused: $answer"
wait_frame "$first"
read -r ox oy ow oh < <(drive find) || fail "no workspace after the right password"
docs=$(drive docs)
echo "documents: $docs"
echo "$docs" | grep -qi "locked.qm" || fail "the document window does not hold locked.qm"
shot="$shots/password_open.png"
capture "$shot"
white=$(convert "$shot" -crop "96x48+$((ox + 120))+$((oy + 160))" +repage -colorspace gray \
        -format '%[fx:mean]' info:)
echo "page area brightness $white"
awk -v w="$white" 'BEGIN { exit !(w > 0.95) }' || fail "the page is not shown"
drive close || fail "the frame did not close"
wait "$first" || true

# Second start: Cancel. The program goes on without that document.
"$QM_WINE" "$exe.so" "$docwin" &
second=$!
answer=$(drive password --cancel) || fail "no password dialog at the second start"
echo "$answer" | grep -q "^box:" && fail "Cancel gave a message: $answer"
wait_frame "$second"
accept_first_page
docs=$(drive docs)
echo "documents after Cancel: $docs"
echo "$docs" | grep -qi "locked.qm" && fail "a refused document was opened"
drive close || fail "the frame did not close"
wait "$second" || true
echo "password open passed"
