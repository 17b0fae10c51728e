#!/usr/bin/env bash
# An entry field drawn with the Entry tool: drag on the page, Save As, close;
# the file holds one type-41 object, and a second start with the path shows
# the field's frame where it was drawn.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

start_new_document first

# The Entry tool as its button chooses it (command 319, type 41), then a
# drag of 160 x 40 pixels well inside the page.
drive command 319 41
x1=120; y1=160; x2=280; y2=200
drive drag $x1 $y1 $x2 $y2
capture "$shots/entry_drawn.png"

doc="$work/home/entry.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive saveas "$docwin" || fail "Save As did not save"
[ -s "$doc" ] || fail "no document file was written"
drive close || fail "the frame did not close"
wait "$first" || true

inspect=$(drive inspect "$docwin")
echo "$inspect"
echo "$inspect" | grep -qx "page 1: 41" || fail "the page does not hold one entry field"

"$QM_WINE" "$exe.so" "$docwin" &
second=$!
wait_frame "$second"
read -r ox oy ow oh < <(drive find)
shot="$shots/entry_reopened.png"
capture "$shot"
echo "capture: $shot"
# The frame's top edge: a dark row near the drag's top, spanning most of
# the field's width, with a light inside below it.
rows() {   # image x y w h: the mean of each row, one per line
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace gray -scale "1x${5}!" \
        -depth 8 txt:- | sed -nE 's/^0,([0-9]+): \(([0-9.]+).*/\1 \2/p'
}
read -r top_at top_v < <(rows "$shot" $((ox + x1 + 20)) $((oy + y1 - 20)) 120 40 | sort -k2 -n | head -n 1)
echo "darkest row at $top_at of the band: $top_v"
awk -v t="$top_v" 'BEGIN { exit !(t < 128) }' || fail "no frame edge near where the field was drawn"
echo "entry field passed"
