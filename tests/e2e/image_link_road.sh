#!/usr/bin/env bash
# The Image Frame tool under Xvfb with the real program: a saved document,
# the tool (command 336, type 78), a drag, and "Image File Link" given a PNG
# beside the document (red left half, blue right half) through its file
# field; the capture must show the picture's colours in the new object.
# Saved, the file's page holds one image file object (type 78); started
# again on the file, the picture shows again.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

png=$(winpath "$work/home/picture.png")
drive picturedoc "$(winpath "$work/home/unused.qm")" "$png" \
    "$(winpath "$work/home/paper.bmp")" || fail "the picture was not written"
[ -s "$work/home/picture.png" ] || fail "no PNG was written"

# Pixels of the workspace within 8 % of the colour.
count() {
    convert "$1" -crop "${ow}x${oh}+${ox}+${oy}" +repage -fuzz 8% \
        -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:round(mean*w*h)]' info:
}
check_picture() {
    local red blue
    red=$(count "$1" 'rgb(255,0,0)')
    blue=$(count "$1" 'rgb(0,0,255)')
    echo "$1: red $red, blue $blue"
    [ "$red" -gt 1000 ] || fail "the picture's red half is not shown ($red)"
    [ "$blue" -gt 1000 ] || fail "the picture's blue half is not shown ($blue)"
}

start_new_document first
doc=$(winpath "$work/home/linked.qm")
drive saveas "$doc" || fail "Save As did not save"
read -r ox oy ow oh < <(drive find) || fail "no workspace"
echo "workspace at $ox,$oy size ${ow}x${oh}"

drive command 336 78           # Image Frame
drive drag 100 100 300 260
caption=$(drive dialog "101=$png") || fail "the link dialog did not take the picture"
[ "$caption" = "Image File Link" ] || fail "the dialog is \"$caption\""
[ "$(drive ask 3)" = 1 ] || fail "no object was placed"
[ "$(drive ask 4)" = 78 ] || fail "the object is a $(drive ask 4), not an image file object"
shot="$shots/image_link_drawn.png"
capture "$shot"
check_picture "$shot"

drive command 102              # Save
[ "$(drive ask 17)" = 0 ] || fail "the document was not saved"
drive close || fail "the frame did not close"
wait "$first" || true
inspect=$(drive inspect "$doc")
echo "$inspect"
echo "$inspect" | grep -qx "page 1: 78" || fail "the page does not hold the image file object"

"$QM_WINE" "$exe.so" "$doc" &
second=$!
wait_frame "$second"
read -r ox oy ow oh < <(drive find)
shot="$shots/image_link_reopened.png"
capture "$shot"
check_picture "$shot"
drive close || fail "the frame did not close"
wait "$second" || true
echo "image link road passed"
