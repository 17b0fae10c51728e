#!/usr/bin/env bash
# Text objects and Labels under Xvfb: a document written by the program's
# own writer with a wrapped text object and a framed Label is opened by the
# real program; a rectangle drawn beside them ties workspace pixels to page
# twips; the capture shows dark text pixels inside both objects' boxes and
# none on the empty page; Save As keeps a text object (40) and a Label
# (138) with their boxes.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

doc="$work/home/texts.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive textdoc "$docwin" || fail "the text document was not written"
before=$(drive objects "$docwin")
echo "written:"; echo "$before"
[ "$(echo "$before" | cut -d' ' -f1 | tr '\n' ' ')" = "40 138 " ] || fail "the document does not hold a text and a Label"

"$QM_WINE" "$exe.so" "$docwin" &
program=$!
wait_frame "$program"
read -r ox oy ow oh < <(drive find)
echo "workspace at $ox,$oy size ${ow}x${oh}"
shot="$shots/text_objects.png"
capture "$shot"

# A rectangle of 96 x 48 pixels far from the texts gives the mapping.
drive command 306 7
drive drag 600 500 696 548
saved="$work/home/texts_saved.qm"
savedwin=$("$QM_WINE" winepath -w "$saved" | tr -d '\r')
drive saveas "$savedwin" || fail "Save As did not save"
after=$(drive objects "$savedwin")
echo "saved:"; echo "$after"
[ "$(echo "$after" | cut -d' ' -f1 | tr '\n' ' ')" = "40 138 7 " ] || fail "Save As did not keep the text and the Label"
[ "$(echo "$after" | head -n 2)" = "$before" ] || fail "the text or the Label moved or changed size"

# Pixels per twip and the page origin from the rectangle.
read -r _ rl rt rr rb < <(echo "$after" | sed -n 3p)
dark_in() {   # twips left top right bottom -> the share of dark pixels in that box
    local l=$1 t=$2 r=$3 b=$4 x y w h
    x=$(awk -v v="$l" -v a="$rl" -v b="$rr" 'BEGIN { printf "%d", 600 + (v - a) * 96 / (b - a) }')
    y=$(awk -v v="$t" -v a="$rt" -v b="$rb" 'BEGIN { printf "%d", 500 + (v - a) * 48 / (b - a) }')
    w=$(awk -v v="$((r - l))" -v a="$rl" -v b="$rr" 'BEGIN { printf "%d", v * 96 / (b - a) }')
    h=$(awk -v v="$((b - t))" -v a="$rt" -v b="$rb" 'BEGIN { printf "%d", v * 48 / (b - a) }')
    convert "$shot" -crop "${w}x${h}+$((ox + x))+$((oy + y))" +repage -colorspace gray \
        -threshold 50% -format '%[fx:1-mean]' info:
}
read -r _ tl tt tr tb < <(echo "$after" | sed -n 1p)
read -r _ ll lt lr lb < <(echo "$after" | sed -n 2p)
text=$(dark_in "$tl" "$tt" "$tr" "$tb")
label=$(dark_in "$ll" "$lt" "$lr" "$lb")
empty=$(dark_in 1440 6480 5760 7200)
echo "dark share: text $text, label $label, empty page $empty"
awk -v v="$text" 'BEGIN { exit !(v > 0.03) }' || fail "no text drawn in the text object's box"
awk -v v="$label" 'BEGIN { exit !(v > 0.03) }' || fail "no text or frame drawn in the Label's box"
awk -v v="$empty" 'BEGIN { exit !(v < 0.005) }' || fail "the empty page is not white"

drive close || fail "the frame did not close"
wait "$program" || true
echo "text objects passed"
