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
shots="$build/screens"
mkdir -p "$shots"
. "$here/tests/wine_env.sh" "$build/wineprefix-e2e" x11

if [ -z "${QM_E2E_INNER:-}" ]; then
    qm_prefix_init
    QM_E2E_INNER=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$exe"
fi

work=$(mktemp -d)
cleanup() {
    "$WINESERVER" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/home"
key='HKCU\Software\Verdant Arcade\Quillmark Draw\Quillmark Draw Version 2.50'
"$QM_WINE" reg delete "$key" /f >/dev/null 2>&1 || true
"$QM_WINE" reg add "$key" /v UserHomeDir /d "$("$QM_WINE" winepath -w "$work/home" | tr -d '\r')" \
    /f >/dev/null

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# Polls until the screen stops changing, then keeps the capture.
capture() {
    local out=$1 prev= sum
    for _ in $(seq 1 100); do
        import -window root "$out"
        sum=$(md5sum < "$out")
        [ "$sum" = "$prev" ] && return 0
        prev=$sum
        sleep 0.3
    done
}

# The frame's line in the window tree: WIDTHxHEIGHT+x+y  +absx+absy.
frame_line() {
    xwininfo -root -tree 2>/dev/null | grep '"Quillmark Draw' | head -n 1 || true
}

"$QM_WINE" "$exe.so" &
first=$!
line=
for _ in $(seq 1 600); do
    line=$(frame_line)
    [ -n "$line" ] && break
    kill -0 "$first" 2>/dev/null || fail "the program ended before showing its frame"
    sleep 0.2
done
[ -n "$line" ] || fail "no frame window appeared"
read -r w h x y < <(echo "$line" | sed -E 's/.* ([0-9]+)x([0-9]+)[+-][0-9-]+[+-][0-9-]+ +\+?(-?[0-9]+)\+?(-?[0-9]+).*/\1 \2 \3 \4/')
echo "frame ${w}x${h} at $x,$y"
[ "$w" -gt 400 ] && [ "$h" -gt 300 ] || fail "the frame is too small: ${w}x${h}"

# Its first document asks for its first page: the sheet is answered with OK.
sheet=$("$QM_WINE" "$build/tests/qmdrive.exe.so" firstpage | tr -d '\r') \
    || fail "no page sheet for the first document"
[ "$sheet" = "Create the First Page of the New File" ] || fail "the page sheet is \"$sheet\""

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
"$QM_WINE" "$build/tests/qmdrive.exe.so" newdoc "$docwin" || fail "the test document was not written"
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
