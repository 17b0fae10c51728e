#!/usr/bin/env bash
# Lines, polylines, polygons and curves drawn under Xvfb with the real
# program: the line tool by a drag, the polyline, polygon and curve tools by
# click, click, double click (real input), the Bezier section by a drag;
# Save As, close, start again with the path. The file must hold a Line, a
# Polyline, a Polygon and two Beziers with 2, 3, 3, 7 and 4 points, and the
# reopened page must show each shape where it was drawn.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

# The darkest grey (0..1) of a box of 21 x 21 pixels centred on x,y.
darkest() { convert "$1" -crop "21x21+$(($2 - 10))+$(($3 - 10))" +repage -colorspace gray \
    -format '%[fx:minima]' info:; }

# Each shape must show a dark pixel near the given workspace points.
check_shapes() {
    local shot=$1 ox=$2 oy=$3 name x y v
    while read -r name x y; do
        v=$(darkest "$shot" $((ox + x)) $((oy + y)))
        echo "$name at $x,$y: $v"
        awk -v v="$v" 'BEGIN { exit !(v < 0.5) }' || fail "no $name near $x,$y in $shot"
    done <<'EOF'
line 140 120
polyline-first 110 230
polyline-second 200 230
polygon-top 360 100
polygon-side 330 140
curve-first 340 220
curve-second 380 260
section 510 140
EOF
    v=$(darkest "$shot" $((ox + 600)) $((oy + 300)))
    awk -v v="$v" 'BEGIN { exit !(v > 0.9) }' || fail "the empty page is not white ($v)"
}

start_new_document first
read -r ox oy ow oh < <(drive find)
echo "workspace at $ox,$oy size ${ow}x${oh}"

drive command 301 2          # Line
drive drag 60 100 220 140
drive command 313 14         # Polyline
drive click 60 200
drive click 160 260
drive dblclick 240 200
drive command 314 15         # Polygon
drive click 300 100
drive click 420 100
drive dblclick 360 180
drive command 316 18         # Bezier curve
drive click 300 220
drive click 380 220
drive dblclick 380 300
drive command 344 22         # Bezier section
drive drag 460 100 560 180
capture "$shots/shapes_drawn.png"

doc="$work/home/shapes.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive saveas "$docwin" || fail "Save As did not save"
drive close || fail "the frame did not close"
wait "$first" || true

inspect=$(drive inspect "$docwin")
echo "$inspect"
echo "$inspect" | grep -qx "pages 1" || fail "the file does not hold one page"
echo "$inspect" | grep -qx "page 1: 2 14 15 18 18" || fail "the page does not hold the shapes"
echo "$inspect" | grep -qx "points 1: 2 3 3 7 4" || fail "the shapes do not hold their points"

"$QM_WINE" "$exe.so" "$docwin" &
second=$!
wait_frame "$second"
read -r ox oy ow oh < <(drive find)
shot="$shots/shapes_reopened.png"
capture "$shot"
echo "capture: $shot"
check_shapes "$shot" "$ox" "$oy"
echo "shapes road passed"
