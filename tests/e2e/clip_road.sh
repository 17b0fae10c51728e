#!/usr/bin/env bash
# Copy and paste under Xvfb with the real program: a rectangle drawn as in
# the whole road, Copy (202), Paste (203) and a click to its right. The
# capture shows two rectangles, the clipboard holds the program's object
# with its picture renditions, and the saved file holds two rectangles.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

# Mean brightness (0..1) of a w x h box at x,y of a capture.
mean() { convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace gray -format '%[fx:mean]' info:; }

start_new_document prog

drive command 306 7
read -r ox oy ow oh < <(drive find)
x1=120; y1=160; x2=216; y2=208
drive drag $x1 $y1 $x2 $y2
drive command 202
formats=$(drive clipboard)
echo "clipboard: $formats"
echo "$formats" | grep -qw "QM32OBJFormat" || fail "Copy put no object on the clipboard"
echo "$formats" | grep -qw "CF_ENHMETAFILE" || fail "Copy put no picture on the clipboard"
drive command 203
px=320; py=$y1
drive click $px $py
shot="$shots/clip_pasted.png"
capture "$shot"
echo "capture: $shot"

# Each rectangle: a dark left edge column, white inside.
edge() {   # x: darkest mean of the columns x-2 .. x+2 inside the band
    convert "$shot" -crop "5x$((y2 - y1 - 16))+$(($1 - 2))+$((oy + y1 + 8))" +repage \
        -colorspace gray -scale "5x1!" -depth 8 txt:- |
        sed -nE 's/^[0-9]+,0: \(([0-9.]+).*/\1/p' | sort -n | head -n 1
}
for left in $((ox + x1)) $((ox + px)); do
    v=$(edge $left)
    inside=$(mean "$shot" $((left + 10)) $((oy + y1 + 8)) 70 $((y2 - y1 - 16)))
    echo "edge at $left: $v, inside $inside"
    awk -v e="$v" -v i="$inside" 'BEGIN { exit !(e < 128 && i > 0.95) }' \
        || fail "no rectangle with its left edge at x=$left"
done
between=$(mean "$shot" $((ox + x2 + 20)) $((oy + y1 + 8)) 60 $((y2 - y1 - 16)))
awk -v b="$between" 'BEGIN { exit !(b > 0.95) }' || fail "the page between the rectangles is not white"

doc="$work/home/clip.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive saveas "$docwin" || fail "Save As did not save"
drive close || fail "the frame did not close"
wait "$prog" || true
inspect=$(drive inspect "$docwin")
echo "$inspect"
echo "$inspect" | grep -qx "page 1: 7 7" || fail "the file does not hold two rectangles"
echo "clip road passed"
