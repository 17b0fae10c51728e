#!/usr/bin/env bash
# A document holding a table of 3 x 4 cells (1440 x 360 twips, written by
# the driver) opened under Xvfb: the capture must show the table's grid
# where its cells lie, four vertical lines a column apart and five
# horizontal lines a row apart, a column four rows wide; Save As keeps the
# table (type 45) on page 1.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

doc="$work/home/table.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive newtable "$docwin" || fail "the table document was not written"
drive inspect "$docwin" | grep -qx "page 1: 45" || fail "the written document holds no table"

"$QM_WINE" "$exe.so" "$docwin" &
program=$!
wait_frame "$program"
read -r ox oy ow oh < <(drive find)
echo "workspace at $ox,$oy size ${ow}x${oh}"
shot="$shots/table_show.png"
capture "$shot"

# Dark pixels per column and per row of the workspace; the grid's lines are
# the runs whose count is about the table's height (columns) or width (rows).
convert "$shot" -crop "${ow}x${oh}+${ox}+${oy}" +repage -colorspace gray -threshold 50% txt:- \
    | awk -F'[,: ]+' 'NR > 1 && $0 ~ /black|#000000/ { col[$1]++; row[$2]++ }
        END { for (x in col) print "c", x, col[x]; for (y in row) print "r", y, row[y] }' \
    > "$work/profile"

# Line positions (runs of neighbouring pixels merged) whose counts lie in the
# given range.
lines() {
    awk -v k="$1" -v lo="$2" -v hi="$3" '$1 == k && $3 >= lo && $3 <= hi { print $2 }' \
        "$work/profile" | sort -n | awk 'NR == 1 || $1 > last + 3 { print $1 } { last = $1 }'
}
# At 100 percent a column is 96 pixels and a row 24: the table is 288 x 96.
cols=$(lines c 88 110 | tr '\n' ' ')
rows=$(lines r 280 300 | tr '\n' ' ')
echo "vertical lines at: $cols"
echo "horizontal lines at: $rows"
awk -v s="$cols" -v step=96 'BEGIN { n = split(s, a, " "); if (n != 4) exit 1;
    for (i = 2; i <= n; i++) if (a[i] - a[i - 1] < step - 3 || a[i] - a[i - 1] > step + 3) exit 1 }' \
    || fail "the table's vertical grid lines are not where its columns lie: $cols"
awk -v s="$rows" -v step=24 'BEGIN { n = split(s, a, " "); if (n != 5) exit 1;
    for (i = 2; i <= n; i++) if (a[i] - a[i - 1] < step - 3 || a[i] - a[i - 1] > step + 3) exit 1 }' \
    || fail "the table's horizontal grid lines are not where its rows lie: $rows"

copy="$work/home/copy.qm"
copywin=$("$QM_WINE" winepath -w "$copy" | tr -d '\r')
drive saveas "$copywin" || fail "Save As did not save"
drive inspect "$copywin" | grep -qx "page 1: 45" || fail "the saved copy lost the table"
drive close || fail "the frame did not close"
wait "$program" || true
echo "table show passed"
