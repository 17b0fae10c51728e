#!/usr/bin/env bash
# Moving by keyboard steps under Xvfb with the real program: a rectangle is
# drawn and saved; the arrow keys move it three steps right and two down,
# Shift+Left's command (831) eight steps left, and the move command 770
# 100 twips left (its words are signed); saved again, the file's rectangle
# has moved by exactly that (tests/e2e/qmdrive.cpp works the windows).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

start_new_document program

save_and_list() {   # NAME: saves under the name and prints the objects of page 1
    local doc="$work/home/$1.qm" docwin
    docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
    drive saveas "$docwin" >&2 || fail "Save As $1 did not save"
    drive objects "$docwin"
}

# A rectangle of 96 x 48 pixels (command 306, type 7), selected.
drive command 306 7
drive drag 120 160 216 208
before=$(save_and_list drawn)
echo "drawn:"; echo "$before"
[ "$(echo "$before" | grep -c '^7 ')" = 1 ] || fail "no rectangle was drawn"

drive key right 3
drive key down 2
drive command 831
drive command 770 65436   # dx -100 (0xFF9C), dy 0
capture "$shots/nudge_moved.png"
after=$(save_and_list moved)
echo "moved:"; echo "$after"

# The step is one pixel in twips: the top moved two of them, the left
# three right, eight left and 100 twips.
read -r _ l0 t0 r0 b0 _ <<<"$(echo "$before" | grep '^7 ')"
read -r _ l1 t1 r1 b1 _ <<<"$(echo "$after" | grep '^7 ')"
step=$(( (t1 - t0) / 2 ))
[ "$step" -gt 0 ] || fail "the down arrow did not move the rectangle down ($t0 -> $t1)"
[ $((t1 - t0)) = $((2 * step)) ] || fail "two steps down are not even: $t0 -> $t1"
[ $((l1 - l0)) = $((3 * step - 8 * step - 100)) ] ||
    fail "the left edge moved $((l1 - l0)) twips, not $((3 * step - 8 * step - 100))"
[ $((r1 - l1)) = $((r0 - l0)) ] && [ $((b1 - t1)) = $((b0 - t0)) ] ||
    fail "the rectangle changed its size"

drive close || fail "the frame did not close"
wait "$program" || true
echo "nudge road passed"
