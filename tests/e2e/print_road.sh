#!/usr/bin/env bash
# Printing under Xvfb with the real program on a real printer driver: the
# prefix gets a test printer (Wine's PostScript driver with a printer
# description written here, a Unix file as its port, so no spooler service
# and no CUPS take part) as the default. A document of three pages with a
# 96 x 48 pixel rectangle on page 1 is printed with All pages and OK in the
# print dialog. The PostScript file names the document in its title and
# holds three pages; ghostscript draws page 1 and the rectangle's outline is
# where the page puts it (tests/e2e/qmdrive.cpp works the windows).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

ps="$work/printed.ps"
drive printer "$ps" || fail "the test printer was not installed"
remove_printer() {
    drive noprinter >/dev/null 2>&1 || true
    cleanup
}
trap remove_printer EXIT

doc="$work/home/three.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive newdoc "$docwin" 3 || fail "the document of three pages was not written"

"$QM_WINE" "$exe.so" "$docwin" &
program=$!
wait_frame "$program"
drive find >/dev/null || fail "no workspace"

# A rectangle of 96 x 48 pixels on page 1 (command 306, type 7), saved so
# that its rectangle in twips can be read back.
drive command 306 7
drive drag 120 160 216 208
saved="$work/home/printed.qm"
docwin=$("$QM_WINE" winepath -w "$saved" | tr -d '\r')
drive saveas "$docwin" || fail "Save As did not save"
read -r type left top right bottom _ < <(drive objects "$docwin" | head -n 1)
echo "rectangle: type $type, $left $top $right $bottom twips"
[ "$type" = 7 ] || fail "no rectangle was drawn"

# Print (106), All pages (111), OK.
drive command 106
caption=$(drive dialog 111) || fail "the print dialog did not take All pages and OK"
echo "print dialog: $caption"
case "$caption" in "Print - "*) ;; *) fail "the print dialog's caption is \"$caption\"" ;; esac

for _ in $(seq 1 300); do
    grep -q '^%%EOF' "$ps" 2>/dev/null && break
    sleep 0.2
done
[ -f "$ps" ] || fail "nothing was printed to $ps"
cp "$ps" "$shots/printed.ps"
grep -Fqx "%%Title: Quillmark Draw - $docwin" <(tr -d '\r' < "$ps") ||
    fail "the PostScript's title does not name the document"
grep -Fqx "%%Pages: 3" <(tr -d '\r' < "$ps") || fail "the PostScript does not hold 3 pages"

# Page 1 drawn by ghostscript at 96 dpi: the page's origin is the sheet's,
# so a twip is 1/15 pixel. The outline crosses the row through the
# rectangle's middle at its left and right edges and the column through its
# middle at its top and bottom edges; inside and 8 pixels outside is white.
png="$shots/printed_page1.png"
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r96 -dFirstPage=1 -dLastPage=1 \
    -sOutputFile="$png" "$ps" || fail "ghostscript could not draw page 1"
darkest() {   # X Y: the darkest grey (0-255) among the 5 x 5 pixels round X,Y
    convert "$png" -crop "5x5+$(($1 - 2))+$(($2 - 2))" +repage -colorspace gray \
        -format '%[fx:int(255*minima)]' info:
}
l=$((left / 15)) t=$((top / 15)) r=$((right / 15)) b=$((bottom / 15))
mx=$(((l + r) / 2)) my=$(((t + b) / 2))
echo "expected outline: $l $t $r $b pixels"
for point in "$l $my" "$r $my" "$mx $t" "$mx $b"; do
    [ "$(darkest $point)" -lt 128 ] || fail "no outline at $point on printed page 1"
done
for point in "$mx $my" "$((l - 8)) $my" "$((r + 8)) $my" "$mx $((t - 8))" "$mx $((b + 8))"; do
    [ "$(darkest $point)" -gt 200 ] || fail "printed page 1 is not white at $point"
done

drive close || fail "the frame did not close"
wait "$program" || true
echo "printing passed"
