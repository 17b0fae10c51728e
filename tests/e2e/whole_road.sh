#!/usr/bin/env bash
# The whole road of one drawing under Xvfb with the real program: start,
# choose the rectangle tool, drag on the page, Save As to a path through the
# file dialog, close; start again with that path and check that the page
# shows the rectangle where it was drawn and that the file holds one page
# with one rectangle. A driver program in the same prefix works the windows
# (tests/e2e/qmdrive.cpp). Captures stay in the build folder's screens folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

# Mean brightness (0..1) of a w x h box at x,y of a capture.
mean() { convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace gray -format '%[fx:mean]' info:; }

start_new_document first

# The rectangle tool as its button chooses it (command 306, type 7), then a
# drag of 96 x 48 pixels well inside the page.
drive command 306 7
read -r ox oy ow oh < <(drive find)
echo "workspace at $ox,$oy size ${ow}x${oh}"
x1=120; y1=160; x2=216; y2=208
drive drag $x1 $y1 $x2 $y2
capture "$shots/road_drawn.png"
title=$(drive title)
echo "title after drawing: $title"
case "$title" in *" *"*) ;; *) fail "the document is not marked modified: $title" ;; esac

doc="$work/home/road.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive saveas "$docwin" || fail "Save As did not save"
[ -s "$doc" ] || fail "no document file was written"
title=$(drive title)
echo "title after saving: $title"
drive close || fail "the frame did not close"
wait "$first" || true

inspect=$(drive inspect "$docwin")
echo "$inspect"
echo "$inspect" | grep -qx "pages 1" || fail "the file does not hold one page"
echo "$inspect" | grep -qx "page 1: 7" || fail "the page does not hold one rectangle"

# Second start with the path: the rectangle's outline is on the page.
"$QM_WINE" "$exe.so" "$docwin" &
second=$!
wait_frame "$second"
read -r ox oy ow oh < <(drive find)
shot="$shots/road_reopened.png"
capture "$shot"
echo "capture: $shot"
# The reopened view may place the page a few pixels differently, so the
# outline is searched for near where it was drawn: the darkest column of a
# band around the left edge, then a dark column 96 pixels to its right, with
# white between them.
columns() {   # image x y w h: the mean of each column, one per line
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace gray -scale "${4}x1!" \
        -depth 8 txt:- | sed -nE 's/^([0-9]+),0: \(([0-9.]+).*/\1 \2/p'
}
band_top=$((oy + y1 + 8)); band_h=$((y2 - y1 - 16))
read -r left_at left_v < <(columns "$shot" $((ox + x1 - 30)) $band_top 60 $band_h | sort -k2 -n | head -n 1)
left=$((ox + x1 - 30 + left_at))
right_v=$(columns "$shot" $((left + 94)) $band_top 5 $band_h | sort -k2 -n | head -n 1 | cut -d' ' -f2)
inside=$(mean "$shot" $((left + 10)) $band_top 76 $band_h)
echo "left edge at x=$left ($left_v), right edge $right_v, inside $inside"
awk -v l="$left_v" -v r="$right_v" -v i="$inside" 'BEGIN { exit !(l < 128 && r < 128 && i > 0.95) }' \
    || fail "the reopened page does not show the rectangle where it was drawn"
echo "whole road passed"
