#!/usr/bin/env bash
# Select mode under Xvfb with the real program: two rectangles are drawn
# (the message bar shows the first one's size and name);
# the first is dragged and the move undone, then resized by its
# bottom-right handle; a rubber band round both saves one chain; clicking
# the first and Ctrl-clicking the second, then a double click, saves one
# chain again; a click on the empty page saves the two rectangles, the
# first 720 twips larger each way (tests/e2e/qmdrive.cpp works the windows).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

start_new_document program

# Two rectangles of 96 x 48 pixels side by side (command 306, type 7).
drive command 306 7
drive drag 120 160 216 208
# The message bar shows the new rectangle's size in inches and its (empty)
# name.
cells=$(drive text qm_msg)
echo "message bar:"; echo "$cells"
grep -Fqx "$(printf 'Static\t 1.000  x  0.500')" <<<"$cells" ||
    fail "the size cell does not read 1.000 x 0.500"
grep -Fqx "$(printf 'Button\tObject-Name...')" <<<"$cells" ||
    fail "the name button does not read Object-Name..."
drive command 306 7
drive drag 300 160 396 208

save_and_list() {   # NAME: saves under the name and prints the objects of page 1
    local doc="$work/home/$1.qm" docwin
    docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
    drive saveas "$docwin" >&2 || fail "Save As $1 did not save"
    drive objects "$docwin"
}

before=$(save_and_list drawn)
echo "drawn:"; echo "$before"
[ "$(echo "$before" | grep -c '^7 ')" = 2 ] || fail "two rectangles were not drawn"

# The first dragged by 48 x 24 pixels, then Undo (200) before anything
# else (saving drops the pending step).
drive drag 150 184 198 208
capture "$shots/select_moved.png"
drive command 200
undone=$(save_and_list undone)
[ "$undone" = "$before" ] || fail "Undo did not put the first rectangle back: $undone"

# Its bottom-right handle dragged by 48 x 48 pixels.
drive drag 216 208 264 256
capture "$shots/select_resized.png"

# A rubber band round both: one chain.
drive drag 100 130 430 300
chained=$(save_and_list band)
echo "rubber band:"; echo "$chained"
[ "$(echo "$chained" | cut -d' ' -f1 | tr '\n' ' ')" = "84 " ] || fail "the rubber band saved no single chain"

# The page, the first, Ctrl and the second, a double click: one chain again.
drive click 500 500
drive click 150 184
drive click 340 184 ctrl
drive dblclick 500 500
chained=$(save_and_list gathered)
echo "gathered:"; echo "$chained"
[ "$(echo "$chained" | cut -d' ' -f1 | tr '\n' ' ')" = "84 " ] || fail "the gathered objects saved no single chain"

# The page clicked: the chain is gone, the first rectangle is 720 twips
# larger each way than the second.
drive click 500 500
after=$(save_and_list after)
echo "after:"; echo "$after"
[ "$(echo "$after" | cut -d' ' -f1 | tr '\n' ' ')" = "7 7 " ] || fail "the page does not hold the two rectangles"
echo "$after" | awk 'NR == 1 { w1 = $4 - $2; h1 = $5 - $3 } NR == 2 { w2 = $4 - $2; h2 = $5 - $3 }
    END { exit !(w1 - w2 == 720 && h1 - h2 == 720) }' || fail "the first rectangle was not resized by 720 twips each way"

drive close || fail "the frame did not close"
wait "$program" || true
echo "select road passed"
