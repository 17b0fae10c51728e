#!/usr/bin/env bash
# The text road under Xvfb with the real program: the text tool (command
# 318, type 40), a click on the page, "Hello " typed, Bold (463), "world",
# Esc; Save As, close; start again with the path: the page shows dark text
# pixels in the text's box, and the file holds one text object whose stream
# reads "Hello [Bold on]world" with the page's default font in its header.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

start_new_document first

drive command 318 40
read -r ox oy ow oh < <(drive find)
echo "workspace at $ox,$oy size ${ow}x${oh}"
drive click 200 200
echo "after the click: $(drive state)"
drive state | grep -q "^mode 20 " || fail "the click did not start editing a text"
drive type "Hello "
drive command 463
drive type "world"
capture "$shots/text_road_typing.png"
drive type $'\e'
echo "after Esc: $(drive state)"
drive state | grep -q "^mode 20 " && fail "Esc did not end the edit"

doc="$work/home/text_road.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive saveas "$docwin" || fail "Save As did not save"
drive close || fail "the frame did not close"
wait "$first" || true

inspect=$(drive inspect "$docwin")
echo "$inspect"
echo "$inspect" | grep -qx "page 1: 40" || fail "the page does not hold one text object"
echo "$inspect" | grep -qxF "text: Hello [Bold on]world" || fail "the text does not read as typed"
page_font=$(echo "$inspect" | sed -n 's/^page font: //p')
text_font=$(echo "$inspect" | sed -n 's/^font: //p')
[ -n "$page_font" ] && [ "$page_font" = "$text_font" ] ||
    fail "the text's font ($text_font) is not the page's default font ($page_font)"

# Second start with the path: dark text pixels inside the text's box.
"$QM_WINE" "$exe.so" "$docwin" &
second=$!
wait_frame "$second"
read -r ox oy ow oh < <(drive find)
shot="$shots/text_road.png"
capture "$shot"
objects=$(drive objects "$docwin")
echo "$objects"
read -r _ tl tt tr tb _ < <(echo "$objects" | sed -n 1p)
# The click at (200, 200) made the text's top-left corner; its box is the
# typed line, so the band right of the click holds its pixels.
dark=$(convert "$shot" -crop "160x40+$((ox + 195))+$((oy + 190))" +repage -colorspace gray \
    -threshold 50% -format '%[fx:1-mean]' info:)
empty=$(convert "$shot" -crop "160x40+$((ox + 195))+$((oy + 300))" +repage -colorspace gray \
    -threshold 50% -format '%[fx:1-mean]' info:)
echo "dark share: text $dark, below it $empty (box $tl $tt $tr $tb)"
awk -v v="$dark" 'BEGIN { exit !(v > 0.02) }' || fail "no text drawn where the text was typed"
awk -v v="$empty" 'BEGIN { exit !(v < 0.005) }' || fail "the page below the text is not white"
drive close || fail "the frame did not close"
wait "$second" || true
echo "text road: ok"
