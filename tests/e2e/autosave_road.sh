#!/usr/bin/env bash
# Auto-save and export under Xvfb with the real program: a rectangle is
# drawn, command 716 writes a backup; a second rectangle is drawn and the
# program is killed while its second backup is on its way (posted, then
# killed as soon as the new file appears beside the backup, or sooner); the
# next start offers a whole backup ("You have a backup file, ... (saved
# <time>), for ...untitled. Open it now?"), never a cut one, and OK opens it
# with its rectangles. Then Export (105) to "page.png" through the Save dialog
# writes a PNG that ImageMagick reads at 816x1056 with dark pixels on the
# rectangle's edges (tests/e2e/qmdrive.cpp works the windows).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

start_new_document program

# A rectangle of 96 x 48 pixels (command 306, type 7), then a backup now.
drive command 306 7
drive drag 120 160 216 208
drive command 716
log="$work/home/~qmats.log"
[ -f "$log" ] || fail "no auto-save log was written"
size=$(stat -c %s "$log")
echo "auto-save log: $size bytes"
[ "$size" = 540 ] || fail "the log does not hold one entry"

# The backup's name, from the log's first entry (after the 8-byte head and
# the 2-byte page index).
backupwin=$(dd if="$log" bs=1 skip=10 count=261 2>/dev/null | tr -d '\0')
backup=$("$QM_WINE" winepath -u "$backupwin" | tr -d '\r')
[ -f "$backup" ] || fail "no backup file $backup"
backupdir=$(dirname "$backup")
before=$(ls "$backupdir" | wc -l)

# A second rectangle, then the second backup posted and the program killed
# as soon as the new file shows beside the backup (or when the program has
# already finished it).
drive command 306 7
drive drag 300 160 396 208
drive post 716
for _ in $(seq 1 2000); do
    [ "$(ls "$backupdir" | wc -l)" -gt "$before" ] && break
    [ "$backup" -nt "$log" ] && break
done
kill -9 "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
"$WINESERVER" -k 2>/dev/null || true
for _ in $(seq 1 100); do
    [ -z "$(frame_line)" ] && break
    sleep 0.2
done

"$QM_WINE" "$exe.so" &
program=$!
wait_frame "$program"
offer=$(drive box) || fail "no backup was offered"
echo "offer: $offer"
case "$offer" in "You have a backup file, "*" (saved "*"), for "*"untitled. Open it now?"*) ;;
    *) fail "not the backup question: $offer" ;; esac
docs=$(drive docs)
echo "documents: $docs"
[ "$(echo "$docs" | head -n 1)" = 1 ] || fail "the backup is not the only document"

doc="$work/home/recovered.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive saveas "$docwin" || fail "Save As of the recovered document failed"
listed=$(drive objects "$docwin")
echo "recovered page 1:"; echo "$listed"
rects=$(echo "$listed" | grep -c '^7 ' || true)
# The first backup (one rectangle) or the second one, whole (two).
[ "$rects" = 1 ] || [ "$rects" = 2 ] || fail "the backup came back with $rects rectangles"

png="$work/home/page.png"
pngwin=$("$QM_WINE" winepath -w "$png" | tr -d '\r')
drive saveas "$pngwin" 105 || fail "the export was not written"
[ -f "$png" ] || fail "no page.png"
identify "$png"
read -r fmt dims < <(identify -format '%m %wx%h\n' "$png")
[ "$fmt" = PNG ] && [ "$dims" = 816x1056 ] || fail "page.png is $fmt $dims, not a PNG of 816x1056"
# The rectangle's left edge: 120 pixels into the view is about 1.2 inches of
# the page; some pixel of the column band is dark.
read -r l t r b < <(echo "$listed" | awk '$1 == 7 { print $2, $3, $4, $5; exit }')
x=$((l * 96 / 1440)); y=$(((t + b) / 2 * 96 / 1440))
dark=$(convert "$png" -crop "5x1+$((x - 2))+$y" +repage -colorspace gray -depth 8 txt:- |
    awk -F'[(,)]' 'NR > 1 && $2 + 0 < 128 { n++ } END { print n + 0 }')
echo "dark pixels at the rectangle's left edge ($x, $y): $dark"
[ "$dark" -ge 1 ] || fail "the rectangle's edge is not drawn in page.png"

drive close || fail "the frame did not close"
wait "$program" || true
size=$(stat -c %s "$log")
[ "$size" = 8 ] || fail "closing left a log of $size bytes"
echo "auto-save and export passed"
