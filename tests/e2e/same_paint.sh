#!/usr/bin/env bash
# The same document paints the same: the program is started five times on
# one document under Xvfb, and each start's capture, taken once the screen
# is still, must equal the first. Stray XOR marks or lines left by a paint
# that raced another would show as differences. Captures stay in the build
# folder's screens folder (same_1.png .. same_5.png).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

doc="$work/home/same.qm"
docwin=$("$QM_WINE" winepath -w "$doc" | tr -d '\r')
drive newdoc "$docwin" || fail "the test document was not written"

for i in 1 2 3 4 5; do
    "$QM_WINE" "$exe.so" "$docwin" &
    pid=$!
    wait_frame "$pid"
    drive find >/dev/null || fail "start $i shows no workspace"
    capture "$shots/same_$i.png"
    drive close || fail "start $i did not close"
    wait "$pid" || true
    if [ "$i" -gt 1 ]; then
        d=$(compare -metric AE "$shots/same_1.png" "$shots/same_$i.png" null: 2>&1 || true)
        echo "start $i: $d pixels differ from the first"
        [ "$d" = "0" ] || fail "start $i painted differently (see $shots/same_$i.png)"
    fi
done
echo "same paint passed"
