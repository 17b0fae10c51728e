#!/usr/bin/env bash
# The menu bar and the menu language under Xvfb: after a damaged document
# that fails to open, English chosen again, a good two-page document and
# another damaged one, the frame still has its menu bar; Korean chosen
# stays so at the next start ("MenuLanguage" = "QM_KOREAN", the same menu
# bar drawn), and English comes back (tests/e2e/qmdrive.cpp works the
# windows).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

good="$work/home/good.qm"
bad="$work/home/bad.qm"
goodwin=$("$QM_WINE" winepath -w "$good" | tr -d '\r')
badwin=$("$QM_WINE" winepath -w "$bad" | tr -d '\r')
drive newdoc "$goodwin" 2 || fail "the good document was not written"
head -c 100 "$good" > "$bad"

# The strip above the client area: X Y WIDTH HEIGHT MENULINE.
bar() { drive menubar; }
# The menu bar's line of the strip, cropped from a capture into $2.
bar_shot() {
    local x y w h m shot=$work/screen.png
    read -r x y w h m < <(bar)
    capture "$shot"
    convert "$shot" -crop "$((w / 2))x$m+$x+$((y + h - m))" +repage "$1"
}

start_new_document program
read -r _ _ _ height0 line < <(bar)
echo "strip height $height0, menu line $line"
[ "$height0" -ge "$line" ] || fail "no menu bar at the start"
bar_shot "$shots/menu_english.png"

failed_open() {   # opens the damaged document: its boxes end with "Read file failed."
    drive open "$badwin" || fail "the Open dialog did not take the damaged file"
    local texts="" t
    while t=$(timeout 20 "$QM_WINE" "$build/tests/qmdrive.exe.so" box 2>/dev/null | tr -d '\r' | head -n 1); [ -n "$t" ]; do
        texts="$texts$t|"
        [ "$t" = "Read file failed." ] && break
    done
    echo "boxes: $texts"
    case "$texts" in *"Read file failed.|") ;; *) fail "no \"Read file failed.\": $texts" ;; esac
}
check_bar() {   # STEP: the English menu bar is drawn as at the start
    local h diff
    read -r _ _ _ h _ < <(bar)
    [ "$h" = "$height0" ] || fail "the menu bar vanished after $1 (strip $h, was $height0)"
    bar_shot "$work/bar.png"
    diff=$(compare -metric AE "$shots/menu_english.png" "$work/bar.png" null: 2>&1 || true)
    [ "${diff%% *}" -lt 20 ] || { cp "$work/bar.png" "$shots/menu_lost.png";
        fail "the menu bar vanished after $1 ($diff pixels differ)"; }
}

failed_open
check_bar "a damaged document"
drive command 1919
check_bar "English"
drive open "$goodwin" || fail "the good document did not open"
docs=$(drive docs)
echo "documents: $docs"
echo "$docs" | grep -qi "good.qm" || fail "the good document has no window"
check_bar "a good document"
failed_open
check_bar "another damaged document"
[ "$(drive docs | head -n 1)" = "$(echo "$docs" | head -n 1)" ] ||
    fail "a failed open left a document window"

drive command 1924
bar_shot "$shots/menu_korean.png"
diff=$(compare -metric AE "$shots/menu_english.png" "$shots/menu_korean.png" null: 2>&1 || true)
echo "English and Korean menu bars differ in $diff pixels"
[ "${diff%% *}" -gt 0 ] || fail "the Korean menu bar looks like the English one"
drive close || fail "the frame did not close"
wait "$program" || true
stored=$("$QM_WINE" reg query 'HKCU\Software\Verdant Arcade\Quillmark Draw\Quillmark Draw Version 2.50' \
         /v MenuLanguage | tr -d '\r')
echo "$stored" | grep -q "QM_KOREAN" || fail "MenuLanguage is not QM_KOREAN: $stored"

# The next start draws the Korean menu bar from its first frame on.
start_new_document program
bar_shot "$shots/menu_korean_again.png"
diff=$(compare -metric AE "$shots/menu_korean.png" "$shots/menu_korean_again.png" null: 2>&1 || true)
echo "the restarted menu bar differs from Korean in $diff pixels"
[ "${diff%% *}" -lt 20 ] || fail "the next start does not show the Korean menu"
drive command 1919
bar_shot "$shots/menu_english_again.png"
diff=$(compare -metric AE "$shots/menu_english.png" "$shots/menu_english_again.png" null: 2>&1 || true)
[ "${diff%% *}" -lt 20 ] || fail "English did not come back ($diff pixels differ)"
drive close || fail "the frame did not close"
wait "$program" || true
echo "menu language passed"
