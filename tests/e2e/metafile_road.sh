#!/usr/bin/env bash
# Metafiles, page insets and 3D Text under Xvfb: the driver writes a
# placeable .wmf (a red square of 2 inches), an .emf (a green square of one
# inch) and a document of two pages whose first page holds an inset of the
# second (a blue square at 720,720-2880,2880) and a 3D Text "WWW". The
# program opens the document; File > Import takes the .wmf and the .emf;
# the capture shows red and green where the imported objects lie, the
# other page's blue square where the inset shows it and the 3D Text's dark
# letters in its box; Save As keeps the inset (1006), the 3D Text (39), the
# metafile picture (61) and the enhanced metafile (293).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

doc=$(winpath "$work/home/insets.qm")
wmf=$(winpath "$work/home/square.wmf")
emf=$(winpath "$work/home/square.emf")
drive metadoc "$doc" "$wmf" "$emf" || fail "the metafiles and the document were not written"
[ -s "$work/home/square.wmf" ] && [ -s "$work/home/square.emf" ] || fail "no metafiles were written"

"$QM_WINE" "$exe.so" "$doc" &
program=$!
wait_frame "$program"
read -r ox oy ow oh < <(drive find) || fail "no workspace"
echo "workspace at $ox,$oy size ${ow}x${oh}"
drive import "$wmf" || fail "the .wmf was not imported"
drive import "$emf" || fail "the .emf was not imported"
shot="$shots/metafile_road.png"
capture "$shot"

# A rectangle of 96 x 48 pixels in the bottom-right corner of the view
# ties workspace pixels to page twips.
mx=$((ow - 150)); my=$((oh - 100))
drive command 306 7
drive drag "$mx" "$my" $((mx + 96)) $((my + 48))
saved="$work/home/insets_saved.qm"
drive saveas "$(winpath "$saved")" || fail "Save As did not save"
after=$(drive objects "$(winpath "$saved")")
echo "saved:"; echo "$after"
types=$(echo "$after" | grep -v '^guide' | cut -d' ' -f1 | tr '\n' ' ')
[ "$types" = "1006 39 61 293 7 " ] || fail "the saved page holds \"$types\""

read -r _ rl rt rr rb _ < <(echo "$after" | sed -n 5p)
# The share of pixels in a box (twips left top right bottom) that pass the
# filter (an ImageMagick colour test).
share_in() {
    local l=$1 t=$2 r=$3 b=$4 x y w h
    shift 4
    x=$(awk -v v="$l" -v a="$rl" -v b="$rr" -v m="$mx" 'BEGIN { printf "%d", m + (v - a) * 96 / (b - a) }')
    y=$(awk -v v="$t" -v a="$rt" -v b="$rb" -v m="$my" 'BEGIN { printf "%d", m + (v - a) * 48 / (b - a) }')
    w=$(awk -v v="$((r - l))" -v a="$rl" -v b="$rr" 'BEGIN { printf "%d", v * 96 / (b - a) }')
    h=$(awk -v v="$((b - t))" -v a="$rt" -v b="$rb" 'BEGIN { printf "%d", v * 48 / (b - a) }')
    convert "$shot" -crop "${w}x${h}+$((ox + x))+$((oy + y))" +repage "$@" -format '%[fx:mean]' info:
}
colour_in() {   # box, colour -> the share of pixels within 8 % of the colour
    share_in "$1" "$2" "$3" "$4" -fuzz 8% -fill white -opaque "$5" -fill black +opaque white
}
dark_in() { share_in "$@" -colorspace gray -threshold 50% -negate; }

read -r _ wl wt wr wb _ < <(echo "$after" | sed -n 3p)
read -r _ el et er eb _ < <(echo "$after" | sed -n 4p)
read -r _ tl tt tr tb _ < <(echo "$after" | sed -n 2p)
# The .wmf's box less its middle, where the .emf lies on top of it.
red=$(colour_in "$wl" "$wt" "$wr" "$et" 'rgb(255,0,0)')
green=$(colour_in "$el" "$et" "$er" "$eb" 'rgb(0,200,0)')
blue=$(colour_in 720 720 2880 2880 'rgb(0,0,255)')
text=$(dark_in "$tl" "$tt" "$tr" "$tb")
empty=$(dark_in 1440 5040 4320 6480)
echo "shares: wmf red $red, emf green $green, inset blue $blue, 3D Text dark $text, empty page dark $empty"
awk -v v="$red" 'BEGIN { exit !(v > 0.8) }' || fail "the imported .wmf is not shown in its box"
awk -v v="$green" 'BEGIN { exit !(v > 0.8) }' || fail "the imported .emf is not shown in its box"
awk -v v="$blue" 'BEGIN { exit !(v > 0.8) }' || fail "the inset does not show the other page"
awk -v v="$text" 'BEGIN { exit !(v > 0.05) }' || fail "the 3D Text is not drawn"
awk -v v="$empty" 'BEGIN { exit !(v < 0.005) }' || fail "the empty page is not white"

drive close || fail "the frame did not close"
wait "$program" || true
echo "metafile road passed"
