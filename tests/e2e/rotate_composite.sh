#!/usr/bin/env bash
# The rotate tool and a composite under Xvfb with the real program: a
# rectangle drawn by a drag, turned 45 degrees with the Rotate command by a
# drag about its pivot, the tool left by a double click; Composite with the
# "Radial" kind, 6 copies and a rotation step of 60 degrees; Save As, close,
# start again with the path. The file must hold one composite (type 500)
# and its base turned by 450 tenths, and the reopened page must show the
# six copies around the centre.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

# The darkest grey (0..1) of a box of 25 x 25 pixels centred on x,y.
darkest() { convert "$1" -crop "25x25+$(($2 - 12))+$(($3 - 12))" +repage -colorspace gray \
    -format '%[fx:minima]' info:; }

start_new_document first
read -r ox oy ow oh < <(drive find)
echo "workspace at $ox,$oy size ${ow}x${oh}"

# A rectangle 120 x 30 pixels about (300, 250).
drive command 306 7
drive drag 240 235 360 265
drive command 213
drive state | grep -q "^mode 32" || fail "the Rotate command did not start the rotate tool"
# An eighth of a turn about the pivot: from its right to up and right.
drive drag 380 250 357 193
drive dblclick 600 500
drive state | grep -q "^mode 2" || fail "the double click did not end the rotate tool"

drive post 404
drive fill 98 2 108 60
drive answer 100 6 || fail "the composite dialog did not take the answer"
capture "$shots/rotate_composite_made.png"

doc="$work/home/composite.qm"
docwin=$(winpath "$doc")
drive saveas "$docwin" || fail "Save As did not save"
drive close || fail "the frame did not close"
wait "$first" || true

inspect=$(drive inspect "$docwin")
echo "$inspect"
echo "$inspect" | grep -qx "page 1: 500" || fail "the page does not hold one composite"
# The pivot is the rectangle's centre as drawn (snapped to the rulers), so
# the turn is near 45 degrees rather than exact.
turn=$(echo "$inspect" | sed -n 's/^rotations 1: 0+\([0-9]*\)$/\1/p')
[ -n "$turn" ] && [ "$turn" -ge 400 ] && [ "$turn" -le 500 ] ||
    fail "the base rectangle is not turned by about 45 degrees (${turn:-none})"
objects=$(drive objects "$docwin")
echo "$objects"

"$QM_WINE" "$exe.so" "$docwin" &
second=$!
wait_frame "$second"
read -r ox oy ow oh < <(drive find)
shot="$shots/rotate_composite_reopened.png"
capture "$shot"
echo "capture: $shot"
# Six copies 60 degrees apart: the end of one of them every 60 degrees,
# near 55 pixels from the centre (the drawn rectangle snaps to the rulers).
for deg in 45 105 165 225 285 345; do
    read -r x y < <(awk -v d="$deg" 'BEGIN { r = 55; a = d * 3.14159265 / 180;
        printf "%d %d\n", 300 + r * cos(a), 250 - r * sin(a) }')
    v=$(darkest "$shot" $((ox + x)) $((oy + y)))
    echo "copy end at $deg degrees ($x,$y): $v"
    awk -v v="$v" 'BEGIN { exit !(v < 0.5) }' || fail "no copy at $deg degrees"
done
v=$(darkest "$shot" $((ox + 600)) $((oy + 500)))
awk -v v="$v" 'BEGIN { exit !(v > 0.9) }' || fail "the empty page is not white ($v)"
echo "rotate and composite road passed"
