#!/usr/bin/env bash
# Arcs, pies, arrows, dimension spans and the arrow-family shapes drawn under
# Xvfb with the real program: the Arc, Pie, Arrow, Dims-Span and H-Arrow2
# tools each by a drag; Save As, close, start again with the path. The file
# must hold an Arc, a Pie, an Arrow, a Dimension Span and a Polygon, and the
# reopened page must show each where it was drawn.
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
arc-left 60 100
arc-top 130 60
pie-left 260 100
pie-right 400 100
arrow-tip 220 220
arrow-tail 60 220
span-middle 380 220
harrow-left 300 300
harrow-right 460 300
EOF
    v=$(darkest "$shot" $((ox + 600)) $((oy + 420)))
    awk -v v="$v" 'BEGIN { exit !(v > 0.9) }' || fail "the empty page is not white ($v)"
}

start_new_document first
read -r ox oy ow oh < <(drive find)
echo "workspace at $ox,$oy size ${ow}x${oh}"

drive command 311 12         # Arc
drive drag 60 60 200 140
drive command 310 11         # Pie
drive drag 260 60 400 140
drive command 1340 402       # Arrow
drive drag 60 220 220 220
drive command 342 31         # Dims-Span
drive drag 300 220 460 220
drive command 1360 409       # H-Arrow2
drive drag 300 270 460 330
capture "$shots/arcs_arrows_drawn.png"

doc="$work/home/arcs.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive saveas "$docwin" || fail "Save As did not save"
drive close || fail "the frame did not close"
wait "$first" || true

inspect=$(drive inspect "$docwin")
echo "$inspect"
echo "$inspect" | grep -qx "pages 1" || fail "the file does not hold one page"
echo "$inspect" | grep -qx "page 1: 12 11 402 31 15" || fail "the page does not hold the shapes"

"$QM_WINE" "$exe.so" "$docwin" &
second=$!
wait_frame "$second"
read -r ox oy ow oh < <(drive find)
shot="$shots/arcs_arrows_reopened.png"
capture "$shot"
echo "capture: $shot"
check_shapes "$shot" "$ox" "$oy"
echo "arcs and arrows road passed"
