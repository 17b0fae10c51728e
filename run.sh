#!/usr/bin/env bash
# Builds Quillmark Draw and starts it: on the user's display when there is
# one, else under a virtual X server (Xvfb, 1280x1024x24). A screen capture of
# the running program is saved in the build folder and its path printed.
#
#   ./run.sh [document.qm]
#
# With a display the program keeps running until it is closed; under Xvfb it
# is ended once the capture is taken. Set QM_BUILD_DIR to build elsewhere.
set -euo pipefail
cd "$(dirname "$0")"
here=$PWD
BUILD=${QM_BUILD_DIR:-build}
case $BUILD in /*) ;; *) BUILD=$here/$BUILD ;; esac

if [ -z "${QM_RUN_INNER:-}" ]; then
    ./deps.sh
    cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD" -j"$(nproc)" --target quillmark 2>&1 | grep -vE '^\[ *[0-9]+%\]|^-- ' || true
    cmake --build "$BUILD" -j"$(nproc)" --target quillmark >/dev/null
    if [ -z "${DISPLAY:-}" ]; then
        echo "No display: starting the program under Xvfb (1280x1024x24)."
        QM_RUN_INNER=xvfb exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
    fi
    export QM_RUN_INNER=display
fi

. "$here/tests/wine_env.sh" "$BUILD/wineprefix-run" x11
qm_prefix_init

args=()
if [ $# -gt 0 ]; then
    doc=$1
    # A file of this machine is handed over under its Windows name.
    if [ -e "$doc" ]; then
        doc=$("$QM_WINE" winepath -w "$(cd "$(dirname "$doc")" && pwd)/$(basename "$doc")" 2>/dev/null | tr -d '\r')
    fi
    args=("$doc")
fi

shots="$BUILD/screens"
mkdir -p "$shots"
shot="$shots/run.png"
rm -f "$shot"

"$QM_WINE" "$BUILD/quillmark.exe.so" "${args[@]}" &
program=$!

# Wait for the frame window (the first start in a new prefix takes longer).
found=
for _ in $(seq 1 600); do
    if xwininfo -root -tree 2>/dev/null | grep -q '"Quillmark Draw[" ]'; then
        found=1
        break
    fi
    if ! kill -0 "$program" 2>/dev/null; then
        break
    fi
    sleep 0.2
done
if [ -z "$found" ]; then
    echo "The program did not show its window." >&2
    [ "$QM_RUN_INNER" = xvfb ] && "$WINESERVER" -k 2>/dev/null || true
    exit 1
fi

# Capture once the screen has stopped changing.
prev=
for _ in $(seq 1 100); do
    import -window root "$shot.tmp.png"
    sum=$(md5sum < "$shot.tmp.png")
    [ "$sum" = "$prev" ] && break
    prev=$sum
    sleep 0.3
done
mv "$shot.tmp.png" "$shot"
echo "Screen capture: $shot"

if [ "$QM_RUN_INNER" = xvfb ]; then
    "$WINESERVER" -k 2>/dev/null || true
    wait "$program" 2>/dev/null || true
else
    wait "$program" || true
fi
