#!/usr/bin/env bash
# The button lists on a real X screen: runs the screen test of the controls
# test program on an X server of its own (Xvfb, 1280x1024x24) with Wine's
# X11 driver in a prefix of its own, and keeps the capture (btnlist.bmp, and .png when ImageMagick
# is there) in the build folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe="$build/tests/controls_tests.exe"
shots="$build/screens"
mkdir -p "$shots"
rm -f "$shots/btnlist.bmp" "$shots/btnlist.png"
. "$here/tests/prefix.sh"
trap qm_private_cleanup EXIT
trap 'exit 143' TERM INT
qm_private_prefix "$build" x11
qm_start_xvfb
winshots=$("$QM_WINE" winepath -w "$shots" 2>/dev/null | tr -d '\r')
QM_SCREEN_SHOT="$winshots" "$QM_WINE" "$exe.so" --gtest_filter='ButtonListScreen.*'
[ -s "$shots/btnlist.bmp" ] || { echo "no capture was written"; exit 1; }
if command -v convert >/dev/null 2>&1; then
    convert "$shots/btnlist.bmp" -alpha off "$shots/btnlist.png" || true
fi
echo "capture: $shots/btnlist.bmp"
