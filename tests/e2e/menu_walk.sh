#!/usr/bin/env bash
# The menu walk, under Xvfb with the real program. Every command id of the
# menus, pop-up menus and tool bars has a row in menu_walk_table.txt (the
# driver compares the table with the resources and the tool-button tables
# first). Then:
# - File > Export > Page writes a PNG that the picture library reads back at
#   the page's size; Import > Image places a picture object and Import >
#   Text a text object holding the file's text;
# - the walk (tests/e2e/qmdrive.cpp, "walk") sets up each state once (no
#   document, a document, one object selected, several, a text selected or
#   being edited, a second page, a pending undo step, the colour windows),
#   checks that the frame menu greys exactly the items whose rows name
#   another state, and posts each row's id to its window as a click on the
#   item would, closing what it opens with Cancel, and reads the effect back.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

table=$(winpath "$here/tests/e2e/menu_walk_table.txt")
drive coverage "$table" || fail "the table and the resources differ"

# There is no window manager on this X server: Wine then waits up to two
# seconds for each managed window it hides to be withdrawn, which every
# dialog the walk closes would pay. The program's windows are unmanaged.
"$QM_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
doc=$(winpath "$work/home/walk.qm")
drive walkdoc "$doc" || fail "the walked document was not written"
"$QM_WINE" "$exe.so" "$doc" &
program=$!
wait_frame "$program"

# File > Export > Page (1161) as PNG: the page's size in pixels at 100 %.
png=$(winpath "$work/home/page.png")
drive saveas "$png" 1161 || fail "File > Export > Page did not write"
read -r width height dpi < <(drive picture "$work/home/page.png") || fail "the exported page cannot be read"
echo "exported page: ${width}x${height} at $dpi dpi"
want_w=$(( (12240 * dpi + 720) / 1440 ))
want_h=$(( (15840 * dpi + 720) / 1440 ))
[ $(( width - want_w )) -ge -1 ] && [ $(( width - want_w )) -le 1 ] &&
    [ $(( height - want_h )) -ge -1 ] && [ $(( height - want_h )) -le 1 ] ||
    fail "the exported page is ${width}x${height}, not the page's ${want_w}x${want_h}"

# File > Import > Image (1150) of that picture, then > Text (1151).
objects=$(drive ask 3)
drive import "$png" 1150 || fail "File > Import > Image did not import"
[ "$(drive ask 3)" = $((objects + 1)) ] || fail "Import > Image placed no object"
[ "$(drive ask 4)" = 60 ] || fail "Import > Image placed a $(drive ask 4), not a picture"
printf 'Imported words of the walk\r\n' > "$work/home/words.txt"
drive import "$(winpath "$work/home/words.txt")" 1151 || fail "File > Import > Text did not import"
[ "$(drive ask 3)" = $((objects + 2)) ] || fail "Import > Text placed no object"
[ "$(drive ask 4)" = 40 ] || fail "Import > Text placed a $(drive ask 4), not a text"
imported=$(winpath "$work/home/imported.qm")
drive saveas "$imported" || fail "Save As did not save the imports"
inspect=$(drive inspect "$imported")
echo "$inspect"
echo "$inspect" | grep -q "^page 1: .* 60 40$" || fail "the imports are not on the page"
echo "$inspect" | grep -q "^text: .*Imported words of the walk" || fail "the text is not the file's"

# The walk, from the walked document as written.
drive command 110
[ "$(drive ask 16)" = 0 ] || fail "the document did not close"
drive open "$doc" || fail "the walked document did not open again"
drive walk "$table" "$doc" || fail "the menu walk found faults"
wait "$program" || true
echo "menu walk passed"
