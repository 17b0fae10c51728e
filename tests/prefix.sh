# Sourced by every test runner: gives one test a Wine prefix of its own,
# copied from the build's template prefix, and (for window checks) an X
# server of its own, so that test programs and end-to-end roads run side by
# side without sharing a wineserver, a desktop, a clipboard or a registry.
#
#   . tests/prefix.sh
#   qm_private_prefix BUILD [null|x11]   # WINEPREFIX, QM_WINE, WINESERVER set
#   qm_start_xvfb                        # DISPLAY set to a free display
#   ...
#   qm_private_cleanup                   # ends this prefix's wineserver and
#                                        # X server, removes the copy
#
# The template (BUILD/wineprefix-template) is made once per build by
# tests/make_template.sh and never written to while tests run.

qm_tests_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

qm_private_prefix() {
    local build=$1 driver=${2:-null} template
    template="$build/wineprefix-template"
    if [ ! -f "$template/system.reg" ]; then
        bash "$qm_tests_dir/make_template.sh" "$build" || return 1
    fi
    mkdir -p "$build/prefixes"
    QM_PRIVATE_PREFIX=$(mktemp -d "$build/prefixes/p.XXXXXX")
    # The system's program files (about 700 MB) are linked, not copied: Wine
    # only reads them. Everything else (registry, settings files, folders)
    # is the copy's own, since Wine rewrites some of those files in place.
    cp -al "$template/." "$QM_PRIVATE_PREFIX/"
    find "$QM_PRIVATE_PREFIX" -type f ! \( -name '*.dll' -o -name '*.exe' -o -name '*.sys' \
        -o -name '*.drv' -o -name '*.nls' -o -name '*.acm' -o -name '*.ocx' -o -name '*.cpl' \
        -o -name '*.tlb' -o -name '*.ds' -o -name '*.ax' -o -name '*.msstyles' \) \
        -exec sh -c 'for f; do cp -p "$f" "$f.own" && mv -f "$f.own" "$f"; done' sh {} +
    # The template is made for the null driver; the registry file is read
    # only when this copy's wineserver starts, so editing it here is safe.
    if [ "$driver" != null ]; then
        sed -i "s/^\"Graphics\"=\"null\"/\"Graphics\"=\"$driver\"/" "$QM_PRIVATE_PREFIX/user.reg"
    fi
    . "$qm_tests_dir/wine_env.sh" "$QM_PRIVATE_PREFIX" "$driver"
}

# Starts Xvfb (1280x1024x24) on a display it picks itself: -displayfd takes
# the first free display atomically, so roads started together never race
# for one. Returns once the server accepts connections. -noreset: without it
# the server resets each time its last client leaves (a road's xwininfo or
# import polls leave often), and a program connecting during that reset
# loses its connection, so Wine finds no display driver and the program
# ends before showing its frame.
qm_start_xvfb() {
    local fdfile
    fdfile=$(mktemp "${QM_PRIVATE_PREFIX:-/tmp}/xvfb.XXXXXX")
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fdfile" \
        2>"${QM_PRIVATE_PREFIX:-/tmp}/xvfb.log" &
    QM_XVFB_PID=$!
    while [ ! -s "$fdfile" ]; do
        if ! kill -0 "$QM_XVFB_PID" 2>/dev/null; then
            echo "Xvfb did not start" >&2
            return 1
        fi
        sleep 0.05
    done
    export DISPLAY=":$(head -n 1 "$fdfile")"
    rm -f "$fdfile"
}

# One line on the state of this test's X server, for a failure's message.
qm_xvfb_state() {
    if [ -z "${QM_XVFB_PID:-}" ]; then
        echo "no X server was started"
    elif ! kill -0 "$QM_XVFB_PID" 2>/dev/null; then
        echo "the X server on $DISPLAY has ended: $(tail -n 3 "${QM_PRIVATE_PREFIX:-/tmp}/xvfb.log" 2>/dev/null | tr '\n' ' ')"
    elif xdpyinfo >/dev/null 2>&1; then
        echo "the X server on $DISPLAY accepts connections"
    else
        echo "the X server on $DISPLAY runs but refuses connections"
    fi
}

qm_private_cleanup() {
    if [ -n "${QM_PRIVATE_PREFIX:-}" ] && [ -d "$QM_PRIVATE_PREFIX" ]; then
        # -k ends every process of this prefix, then the server itself.
        WINEPREFIX=$QM_PRIVATE_PREFIX "$WINESERVER" -k 2>/dev/null || true
        WINEPREFIX=$QM_PRIVATE_PREFIX "$WINESERVER" -w 2>/dev/null || true
    fi
    if [ -n "${QM_XVFB_PID:-}" ]; then
        kill "$QM_XVFB_PID" 2>/dev/null || true
        wait "$QM_XVFB_PID" 2>/dev/null || true
        QM_XVFB_PID=
    fi
    if [ -n "${QM_PRIVATE_PREFIX:-}" ]; then
        rm -rf "$QM_PRIVATE_PREFIX"
        QM_PRIVATE_PREFIX=
    fi
}
