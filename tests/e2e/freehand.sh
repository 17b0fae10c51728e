#!/usr/bin/env bash
# The freehand polyline and curve tools under Xvfb with the real program:
# one real-input drag each (qmdrive stroke), the polyline along a zigzag and
# the curve along a quarter circle; Save As, close, start again with the
# path. The file must hold a Polyline of more than two points and a Bezier
# (or Closed Curve) of 1 + 3k points, the reopened page must show both
# strokes, and the Line-Draw settings read at start must be written back
# when the frame closes.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

# The settings the frame reads at creation (a close spacing of 7, no
# advanced option) and must write back at its close.
"$QM_WINE" reg add "$key" /v EPenv /d "4, 6, 7, 0" /f >/dev/null

# The darkest grey (0..1) of a box of 2R+1 pixels square centred on x,y.
darkest() { convert "$1" -crop "$((2 * $4 + 1))x$((2 * $4 + 1))+$(($2 - $4))+$(($3 - $4))" \
    +repage -colorspace gray -format '%[fx:minima]' info:; }

# Both strokes must show near their points: within R pixels.
check_strokes() {
    local shot=$1 ox=$2 oy=$3 r=$4 name x y v
    while read -r name x y; do
        v=$(darkest "$shot" $((ox + x)) $((oy + y)) "$r")
        echo "$name at $x,$y: $v"
        awk -v v="$v" 'BEGIN { exit !(v < 0.5) }' || fail "no $name near $x,$y in $shot"
    done <<'POINTS'
polyline-start 60 100
polyline-middle 140 100
polyline-end 220 100
curve-start 450 120
curve-middle 406 226
curve-end 300 270
POINTS
    v=$(darkest "$shot" $((ox + 600)) $((oy + 400)) 10)
    awk -v v="$v" 'BEGIN { exit !(v > 0.9) }' || fail "the empty page is not white ($v)"
}

# The quarter circle about 300,120 of radius 150, every 10 degrees.
arc=$(awk 'BEGIN { for (a = 0; a <= 90; a += 10) {
    r = a * 3.14159265 / 180; printf "%d %d ", 300 + 150 * cos(r), 120 + 150 * sin(r) } }')

start_new_document first
read -r ox oy ow oh < <(drive find)
echo "workspace at $ox,$oy size ${ow}x${oh}"

drive command 313 14         # Polyline
drive stroke 60 100 100 140 140 100 180 140 220 100
drive command 316 18         # Bezier curve
# shellcheck disable=SC2086
drive stroke $arc
capture "$shots/freehand_drawn.png"
check_strokes "$shots/freehand_drawn.png" "$ox" "$oy" 10

doc="$work/home/freehand.qm"
docwin=$(winpath "$doc")
drive saveas "$docwin" || fail "Save As did not save"
drive close || fail "the frame did not close"
wait "$first" || true

settings=$("$QM_WINE" reg query "$key" /v EPenv | tr -d '\r' | grep EPenv)
echo "$settings"
echo "$settings" | grep -q '4, 6, 7, 64$' || fail "the Line-Draw settings were not written back"

inspect=$(drive inspect "$docwin")
echo "$inspect"
echo "$inspect" | grep -qx "pages 1" || fail "the file does not hold one page"
echo "$inspect" | grep -Eqx "page 1: 14 (18|19)" || fail "the page does not hold the two strokes"
read -r _ _ line curve < <(echo "$inspect" | grep '^points 1:')
[ "$line" -gt 2 ] || fail "the polyline holds $line points"
[ "$curve" -ge 4 ] && [ $(((curve - 1) % 3)) -eq 0 ] || fail "the curve holds $curve points"

"$QM_WINE" "$exe.so" "$docwin" &
second=$!
wait_frame "$second"
read -r ox oy ow oh < <(drive find)
shot="$shots/freehand_reopened.png"
capture "$shot"
echo "capture: $shot"
# The reopened view may lie a few pixels aside of the first one.
check_strokes "$shot" "$ox" "$oy" 20
echo "freehand road passed"
