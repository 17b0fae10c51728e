#!/usr/bin/env bash
# Multiple selection, stacking order and fill under Xvfb with the real
# program: three rectangles are drawn; Select All saves one chain, a click
# on the empty page saves the three again in their order; the first,
# clicked and brought to the front, is saved last; Solid Fill and then the
# Cross hatch are saved on it, and Undo takes the hatch back (the driver
# tests/e2e/qmdrive.cpp works the windows and reads the saved documents).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

start_new_document program

# Three rectangles of 96 x 48 pixels side by side (command 306, type 7).
for x in 120 300 480; do
    drive command 306 7
    drive drag "$x" 160 $((x + 96)) 208
done

save_as() {   # NAME VERB: saves under the name and lists page 1 with the verb
    local doc="$work/home/$1.qm" docwin
    docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
    drive saveas "$docwin" >&2 || fail "Save As $1 did not save"
    drive "$2" "$docwin"
}
lefts() { cut -d' ' -f2 | tr '\n' ' '; }

drawn=$(save_as drawn objects)
echo "drawn:"; echo "$drawn"
[ "$(echo "$drawn" | grep -c '^7 ')" = 3 ] || fail "three rectangles were not drawn"
order=$(echo "$drawn" | lefts)

# Select All (215): one chain of the three.
drive command 215
capture "$shots/order_select_all.png"
all=$(save_as all objects)
echo "select all:"; echo "$all"
[ "$(echo "$all" | cut -d' ' -f1 | tr '\n' ' ')" = "84 " ] || fail "Select All saved no single chain"

# The empty page clicked: the three are back in their order.
drive click 700 500
back=$(save_as back objects)
[ "$(echo "$back" | lefts)" = "$order" ] || fail "the chain did not give the order back: $back"

# The first clicked and brought to the front (407): saved last.
drive click 168 184
drive command 407
front=$(save_as front objects)
echo "front:"; echo "$front"
first=$(echo "$drawn" | head -n 1 | cut -d' ' -f2)
[ "$(echo "$front" | tail -n 1 | cut -d' ' -f2)" = "$first" ] ||
    fail "Bring to Front did not put the first rectangle on top"

# Solid fill (532), then the Cross hatch (539), which Undo (200) takes back.
drive command 532
solid=$(save_as solid fills)
echo "solid:"; echo "$solid"
[ "$(echo "$solid" | tail -n 1 | cut -d' ' -f2)" = 1 ] || fail "Solid Fill was not saved"
# (Saving drops the pending step: Undo comes before the save.)
drive command 539
capture "$shots/order_hatched.png"
drive command 200
undone=$(save_as undone fills)
[ "$(echo "$undone" | tail -n 1 | cut -d' ' -f2)" = 1 ] || fail "Undo did not take the hatch back"
drive command 539
hatched=$(save_as hatched fills)
echo "hatched:"; echo "$hatched"
[ "$(echo "$hatched" | tail -n 1 | cut -d' ' -f2,3)" = "4 100" ] ||
    fail "the Cross hatch was not saved as fill kind 4 with spacing 6: $hatched"

drive close || fail "the frame did not close"
wait "$program" || true
echo "order and fill road passed"
