#!/usr/bin/env bash
# Drag outlines and the page layout under Xvfb with the real program: a
# polyline drawn with the polyline tool (click, click, click, double click)
# is dragged, and a capture taken while the button is still down shows the
# outline of its segments, not the frame of its box; then Page > Layout
# (598) makes the page Legal through the layout sheet; Save As, and the
# saved first page is 12240 x 20160 twips (tests/e2e/qmdrive.cpp works the
# windows).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

# The darkest grey (0..1) of a box of 9 x 9 pixels centred on x,y.
darkest() { convert "$1" -crop "9x9+$(($2 - 4))+$(($3 - 4))" +repage -colorspace gray \
    -format '%[fx:minima]' info:; }

start_new_document program

# A zigzag of four points: (100,120) (180,280) (260,120) (340,280).
drive command 313 14         # Polyline
drive click 100 120
drive click 180 280
drive click 260 120
drive dblclick 340 280
doc="$work/home/outline.qm"
docwin=$(winpath "$doc")
drive saveas "$docwin" || fail "Save As did not save the polyline"
drawn=$(drive objects "$docwin")
echo "drawn:"; echo "$drawn"
[ "$(echo "$drawn" | cut -d' ' -f1 | tr '\n' ' ')" = "14 " ] || fail "no single polyline was drawn"

# Pressed on the middle of its first segment and moved by (60, 100): the
# capture is taken before the button is released.
shot="$shots/outline_drag.png"
drive hold 140 200 200 300 "$(winpath "$shot")" || fail "no capture during the drag"
echo "capture during the drag: $shot"
# The outline's segments lie at the moved points (160,220) (240,380)
# (320,220) (400,380): the middle of each segment is marked.
while read -r name x y; do
    v=$(darkest "$shot" "$x" "$y")
    echo "$name at $x,$y: $v"
    awk -v v="$v" 'BEGIN { exit !(v < 0.9) }' || fail "the outline shows no $name at $x,$y"
done <<'EOF'
first-segment 200 300
second-segment 280 300
third-segment 360 300
EOF
# The middles of the moved box's bottom and right edges are not on the
# polyline: a frame would mark them, the outline does not. (The tool's
# dashed guides run through the moved box's top-left corner.)
while read -r name x y; do
    v=$(darkest "$shot" "$x" "$y")
    echo "$name at $x,$y: $v"
    awk -v v="$v" 'BEGIN { exit !(v > 0.97) }' || fail "the drag shows a frame: $name at $x,$y is $v"
done <<'EOF'
bottom-edge-middle 280 380
right-edge-middle 400 300
EOF

# The polyline moved with the drag.
movedwin=$(winpath "$work/home/moved.qm")
drive saveas "$movedwin" || fail "Save As did not save the moved polyline"
moved=$(drive objects "$movedwin")
echo "moved:"; echo "$moved"
[ "$moved" != "$drawn" ] || fail "the drag did not move the polyline"

# Page > Layout to Legal, answered in the sheet.
drive post 598
caption=$(drive dialog "122=Legal 8 1/2 x 14 in") || fail "the layout sheet was not answered"
echo "sheet: $caption"
[ "$caption" = "Change Page Layout" ] || fail "the layout sheet is \"$caption\""
docwin=$(winpath "$work/home/legal.qm")
drive saveas "$docwin" || fail "Save As did not save the Legal page"
drive close || fail "the frame did not close"
wait "$program" || true

# Opened again from the file: page 1 is Legal, the polyline on it.
"$QM_WINE" "$exe.so" "$docwin" &
again=$!
wait_frame "$again"
capture "$shots/outline_legal.png"
drive close || fail "the frame did not close"
wait "$again" || true
legal=$(drive objects "$docwin" page)
echo "saved:"; echo "$legal"
echo "$legal" | head -n 1 | grep -qx "page 1: 12240 x 20160" || fail "page 1 is not Legal"
[ "$(echo "$legal" | sed 1d | cut -d' ' -f1 | tr '\n' ' ')" = "14 " ] || fail "the polyline is not on the page"
echo "outline and layout road passed"
