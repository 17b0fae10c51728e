#!/usr/bin/env bash
# The calendar tool under Xvfb with the real program: a drag makes a month
# calendar with its title, weekday row and ruled day grid; Save As, close,
# start again with the path. The file must hold one Calendar record, the
# reopened page must show the grid and the title where they were, and
# Help > History > View/Select must list the saved document.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

# The dark vertical lines across a band of the capture (W x H pixels from
# x,y): the band squeezed to one row of mean greys, then the runs of
# columns darker than mid-grey counted. Text and the horizontal lines
# darken a column only a little; the frame's sides and the column lines of
# the grid run through the whole band.
column_lines() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -colorspace gray -scale "$4x1!" -depth 8 gray:- |
        od -An -v -tu1 |
        awk '{ for (i = 1; i <= NF; ++i) { d = $i < 128; if (d && !prev) ++n; prev = d } }
             END { print n + 0 }'
}

# Dark pixels in a box of the capture (W x H from x,y).
dark_pixels() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -colorspace gray -threshold 50% -depth 8 gray:- |
        od -An -v -tu1 | awk '{ for (i = 1; i <= NF; ++i) n += $i == 0 } END { print n + 0 }'
}

# The calendar dragged from 100,100 to 420,340 of the workspace: its day
# area lies below 160; a band through it crosses the frame's two sides and
# the six column lines; its title row above holds the month's name.
check_calendar() {
    local shot=$1 ox=$2 oy=$3 lines title
    lines=$(column_lines "$shot" $((ox + 20)) $((oy + 200)) 700 100)
    title=$(dark_pixels "$shot" $((ox + 100)) $((oy + 102)) 400 24)
    echo "$shot: $lines vertical lines through the days, $title dark title pixels"
    [ "$lines" = 8 ] || fail "$lines vertical lines through the day grid of $shot, not 8"
    [ "$title" -gt 40 ] || fail "no title text in $shot"
}

start_new_document first
read -r ox oy ow oh < <(drive find)
echo "workspace at $ox,$oy size ${ow}x${oh}"

drive command 347 52         # Calendar
drive drag 100 100 420 340
capture "$shots/calendar_drawn.png"
check_calendar "$shots/calendar_drawn.png" "$ox" "$oy"

doc="$work/home/month.qm"
docwin=$(winpath "$doc")
drive saveas "$docwin" || fail "Save As did not save"
drive close || fail "the frame did not close"
wait "$first" || true

inspected=$(drive inspect "$docwin")
echo "$inspected"
echo "$inspected" | grep -qx 'page 1: 52' || fail "the page does not hold one Calendar"

"$QM_WINE" "$exe.so" "$docwin" &
second=$!
wait_frame "$second"
read -r ox oy ow oh < <(drive find)
shot="$shots/calendar_reopened.png"
capture "$shot"
check_calendar "$shot" "$ox" "$oy"

# The history lists the document (saved, then opened): each line is its
# date and time, then the path.
drive command 1120
listed=$(drive lines 1000)
echo "$listed"
[ "$(echo "$listed" | head -n 1)" = History ] || fail "no History dialog"
echo "$listed" | tail -n +2 | grep -qiF " $docwin" || fail "the history does not list $docwin"
drive close || fail "the frame did not close"
wait "$second" || true
echo "calendar road passed"
