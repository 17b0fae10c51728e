#!/usr/bin/env bash
# Roads a new user walks first, under Xvfb with the real program:
# - a start with a path that does not exist (302 characters) shows the
#   open-failure message in a box that stays within the screen, then starts
#   as without a path (the page sheet of a new document);
# - File > Open with only that untouched "Untitled" open shows the document
#   in that window;
# - a rectangle drag released outside the frame makes nothing and keeps the
#   tool; the next drag on the page makes its rectangle.
# Captures stay in the build folder's screens folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

missing="C:\\$(printf 'folder%03d\\' $(seq 1 36))missing.qm"
missing=${missing:0:292}missing.qm
echo "missing path of ${#missing} characters"
"$QM_WINE" "$exe.so" "$missing" &
first=$!
wait_frame "$first"
box=$(drive box) || fail "no message for the missing path"
text=$(echo "$box" | head -n 1)
read -r l t r b < <(echo "$box" | tail -n 1)
echo "box at $l,$t to $r,$b: $text"
# The file commands' message for a path they cannot open, the whole path
# in it (broken into lines).
case "$(echo "$text" | tr -d '|')" in
    *"$missing"*) ;;
    *) fail "the box does not name the whole path: \"$text\"" ;;
esac
[ "$l" -ge 0 ] && [ "$t" -ge 0 ] && [ "$r" -le 1280 ] && [ "$b" -le 1024 ] \
    || fail "the box leaves the screen"
accept_first_page

# File > Open into the untouched Untitled.
doc="$work/home/opened.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive newdoc "$docwin" || fail "the test document was not written"
drive open "$docwin" || fail "File > Open did not open"
docs=$(drive docs)
echo "$docs"
[ "$(echo "$docs" | head -n 1)" = "1" ] || fail "File > Open made a second window"
echo "$docs" | grep -qiF "$docwin" || fail "the window does not show the opened document"

# A drag released outside the frame, then one on the page.
drive command 306 7
read -r fw fh fx fy < <(frame_line | sed -E 's/.* ([0-9]+)x([0-9]+)[+-][0-9-]+[+-][0-9-]+ +\+?(-?[0-9]+)\+?(-?[0-9]+).*/\1 \2 \3 \4/')
drive dragout 120 160 $((fx + fw + 100)) $((fy + fh + 100))
state=$(drive state)
echo "after the drag outside: $state"
[ "$state" = "mode 5 capture none" ] || fail "the drag outside did not end in the tool's mode"
drive drag 120 160 216 208
capture "$shots/new_user.png"
state=$(drive state)
echo "after the drag on the page: $state"
[ "$state" = "mode 2 capture none" ] || fail "the drag on the page did not make its object"
saved="$work/home/drawn.qm"
savedwin=$("$QM_WINE" winepath -w "$saved" | tr -d '\r')
drive saveas "$savedwin" || fail "Save As did not save"
inspect=$(drive inspect "$savedwin")
echo "$inspect"
echo "$inspect" | grep -qx "page 1: 7" || fail "the page does not hold exactly one rectangle"
drive close || fail "the frame did not close"
wait "$first" || true
echo "new user roads passed"
