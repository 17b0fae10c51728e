#!/usr/bin/env bash
# Pictures under Xvfb with the real program: the driver writes a PNG, a BMP
# and a document whose page holds a bitmap object of the PNG (red left
# half, blue right half) and has the BMP (green) as its background picture;
# the program opens the document from its command line, and the capture of
# the workspace must show the picture's red and blue and the green
# background where the page would be white.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

doc=$(winpath "$work/home/pictures.qm")
drive picturedoc "$doc" "$(winpath "$work/home/picture.png")" \
    "$(winpath "$work/home/paper.bmp")" || fail "the picture document was not written"
[ -s "$work/home/picture.png" ] || fail "no PNG was written"
[ -s "$work/home/pictures.qm" ] || fail "no document was written"

"$QM_WINE" "$exe.so" "$doc" &
first=$!
wait_frame "$first"
read -r ox oy ow oh < <(drive find) || fail "no workspace"
echo "workspace at $ox,$oy size ${ow}x${oh}"
shot="$shots/picture_road.png"
capture "$shot"

# Pixels of the workspace within 8 % of the colour.
count() {
    convert "$shot" -crop "${ow}x${oh}+${ox}+${oy}" +repage -fuzz 8% \
        -fill black +opaque "$1" -fill white -opaque "$1" -format '%[fx:round(mean*w*h)]' info:
}
red=$(count 'rgb(255,0,0)')
blue=$(count 'rgb(0,0,255)')
green=$(count 'rgb(0,200,0)')
echo "red $red, blue $blue, green $green"
[ "$red" -gt 2000 ] || fail "the picture's red half is not shown ($red)"
[ "$blue" -gt 2000 ] || fail "the picture's blue half is not shown ($blue)"
[ "$green" -gt 20000 ] || fail "the background picture is not shown ($green)"
drive close || fail "the frame did not close"
wait "$first" || true
echo "picture road passed"
