#!/usr/bin/env bash
# The page navigation bars and View Scale under Xvfb with the real program:
# a document of three pages opens at page 1; the bottom bar's ">" button
# shows page 2 (the title says so), the page field typed with 3 and Enter
# shows page 3, Page > Go To Page answered with 2 shows page 2 again, and
# View Scale 50 shows the page 408 pixels wide (8.5 inches at 96 pixels to
# the inch, halved) in a capture. A driver program in
# the same prefix works the windows (tests/e2e/qmdrive.cpp).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

doc="$work/home/three.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive newdoc "$docwin" 3 || fail "the document of three pages was not written"

"$QM_WINE" "$exe.so" "$docwin" &
program=$!
wait_frame "$program"
drive find >/dev/null || fail "no workspace"
title=$(drive title)
echo "title at the start: $title"
case "$title" in *"Page 1 of 3"*) ;; *) fail "the document does not open at page 1 of 3: $title" ;; esac

drive click 103 || fail "no next-page button"
title=$(drive title)
echo "title after >: $title"
case "$title" in *"Page 2 of 3"*) ;; *) fail "> did not show page 2: $title" ;; esac

drive answer 110 3 || fail "no page field"
title=$(drive title)
echo "title after typing 3: $title"
case "$title" in *"Page 3 of 3"*) ;; *) fail "the page field did not show page 3: $title" ;; esac

# Page > Go To Page (1251): the number dialog takes a page within its range.
drive command 1251
drive answer 100 2 || fail "the Go To Page dialog did not take 2"
title=$(drive title)
echo "title after Go To Page 2: $title"
case "$title" in *"Page 2 of 3"*) ;; *) fail "Go To Page did not show page 2: $title" ;; esac

# View Scale (179) at 50 percent.
drive command 179
drive answer 100 50 || fail "the Percent dialog did not take 50"
read -r ox oy ow oh < <(drive find)
shot="$shots/page_nav_50.png"
capture "$shot"
echo "capture: $shot (workspace at $ox,$oy size ${ow}x${oh})"
# The longest run of white pixels along a row 100 pixels into the view.
row=$((oy + 100))
longest=$(convert "$shot" -crop "${ow}x1+${ox}+${row}" +repage -depth 8 txt:- |
    awk -F'[ ,:]+' 'NR > 1 { white = ($0 ~ /#FFFFFF/); if (white) { run++; if (run > best) best = run } else run = 0 }
                    END { print best + 0 }')
echo "white run along the row: $longest pixels"
[ "$longest" -ge 402 ] && [ "$longest" -le 410 ] || fail "the page is not 408 pixels wide at 50 percent"

drive close || fail "the frame did not close"
wait "$program" || true
echo "page navigation passed"
