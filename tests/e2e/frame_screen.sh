#!/usr/bin/env bash
# The program on a real X screen: starts it under Xvfb (1280x1024x24) with
# Wine's X11 driver in a prefix of its own and a home folder of its own,
# waits for the frame, and checks a capture: the frame with its bars and a
# white empty page. Then a second start with a document path must hand the
# path to the running frame and end at once with exit code 0. The first
# document's page sheet is answered by a driver in the same prefix
# (tests/e2e/qmdrive.cpp). The captures
# (frame.png, frame_second.png) stay in the build folder's screens folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

"$QM_WINE" "$exe.so" &
first=$!
wait_frame "$first"
line=$(frame_line)
read -r w h x y < <(echo "$line" | sed -E 's/.* ([0-9]+)x([0-9]+)[+-][0-9-]+[+-][0-9-]+ +\+?(-?[0-9]+)\+?(-?[0-9]+).*/\1 \2 \3 \4/')
echo "frame ${w}x${h} at $x,$y"
[ "$w" -gt 400 ] && [ "$h" -gt 300 ] || fail "the frame is too small: ${w}x${h}"

# Its first document asks for its first page.
accept_first_page

shot="$shots/frame.png"
capture "$shot"
echo "capture: $shot"

# Coarse facts on the capture: a white area of the empty page, and the
# drawing-tool band holding pictures (not one flat colour).
page_min=$(convert "$shot" -crop "200x200+$((x + 150))+$((y + 250))" +repage \
    -format '%[fx:minima]' info:)
band_dev=$(convert "$shot" -crop "400x20+$((x + 2))+$((y + 26))" +repage -colorspace gray \
    -format '%[fx:standard_deviation]' info:)
echo "page minimum $page_min, band deviation $band_dev"
awk -v m="$page_min" 'BEGIN { exit !(m >= 0.99) }' || fail "the page area is not white"
awk -v d="$band_dev" 'BEGIN { exit !(d > 0.05) }' || fail "no tool bar in the frame's band"

# A second start hands its document over and ends at once with code 0.
doc="$work/home/drawing one.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive newdoc "$docwin" || fail "the test document was not written"
set +e
timeout 120 "$QM_WINE" "$exe.so" "$docwin"
code=$?
set -e
[ "$code" -eq 0 ] || fail "the second start ended with $code"
kill -0 "$first" 2>/dev/null || fail "the first instance is gone"
"$QM_WINE" reg query "$key" /v File1 2>/dev/null | tr -d '\r' | grep -qiF "$docwin" \
    || fail "the first instance did not open the handed-over document"
capture "$shots/frame_second.png"
echo "capture: $shots/frame_second.png"
echo "frame checks passed"
