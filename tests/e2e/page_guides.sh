#!/usr/bin/env bash
# Page commands and design guides under Xvfb with the real program: a
# vertical guide added by command 2106 at x 2880 twips is drawn on the page
# and, once a rectangle has been drawn, a real drag in the select mode moves
# it 48 pixels right; Append to Last (615, the page
# sheet answered) shows "Page 2 of 2"; Previous Page (617) goes back to page
# 1 and the standard bar's Next/New Page (618) shows page 2 whole (the page
# area white, not the surround) with the title "Page 2 of 2"; after Save As
# the document's first page holds the guide at 3600 twips
# (tests/e2e/qmdrive.cpp works the windows).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

start_new_document program
read -r ox oy ow oh < <(drive find)
row=$((oy + 150))

# The x (workspace client pixels) of the first guide pixel (0x004040, drawn
# as #404000) along the row of a capture; empty when none.
guide_x() {
    convert "$1" -crop "${ow}x1+${ox}+${row}" +repage -depth 8 txt:- |
        awk -F'[ ,:]+' 'NR > 1 && !found && /#404000/ { print $1; found = 1 }'
}

drive command 2106 2880
shot="$shots/page_guides_added.png"
capture "$shot"
gx=$(guide_x "$shot")
echo "guide drawn at client x: ${gx:-none}"
[ -n "$gx" ] || fail "the guide added by 2106 is not drawn"

# A rectangle drawn away from the guide leaves the program in the select
# mode, which drags guides.
drive command 306 7
drive drag 400 300 496 348
drive drag "$gx" 150 $((gx + 48)) 150
shot="$shots/page_guides_moved.png"
capture "$shot"
moved=$(guide_x "$shot")
echo "guide after the drag at client x: ${moved:-none}"
[ -n "$moved" ] && [ $((moved - gx)) -ge 46 ] && [ $((moved - gx)) -le 50 ] ||
    fail "the drag did not move the guide 48 pixels right"

drive command 615
sheet=$(drive firstpage) || fail "no page sheet for the appended page"
echo "page sheet: $sheet"
title=$(drive title)
echo "title after 615: $title"
case "$title" in *"Page 2 of 2"*) ;; *) fail "615 did not show page 2 of 2: $title" ;; esac

drive command 617
title=$(drive title)
case "$title" in *"Page 1 of 2"*) ;; *) fail "617 did not go back to page 1: $title" ;; esac

drive command 618
title=$(drive title)
echo "title after 618: $title"
case "$title" in *"Page 2 of 2"*) ;; *) fail "618 did not show page 2 of 2: $title" ;; esac
shot="$shots/page_guides_next.png"
capture "$shot"
centre=$(convert "$shot" -crop "1x1+$((ox + ow / 2))+$((oy + oh / 2))" +repage -depth 8 txt:- |
    awk 'NR > 1 { print $3 }')
echo "colour at the view's centre after 618: $centre"
[ "$centre" = "#FFFFFF" ] || fail "page 2 is not shown whole after 618 ($centre)"

doc="$work/home/guides.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive saveas "$docwin" || fail "Save As did not save"
listed=$(drive objects "$docwin")
echo "page 1 of the saved file:"; echo "$listed"
echo "$listed" | grep -qx 'guide 1 3600' || fail "the saved guide is not at 3600 twips"

drive close || fail "the frame did not close"
wait "$program" || true
echo "page commands and guides passed"
