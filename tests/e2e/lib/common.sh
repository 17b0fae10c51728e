# Sourced by the end-to-end scripts after `here`, `build` and `exe` are set.
# Gives the script a Wine prefix of its own (a copy of the build's template,
# with Wine's X11 driver) and an X server of its own (Xvfb, 1280x1024x24),
# so that roads run side by side, then a temporary work folder with a home
# folder the program is pointed at, and the helpers below. Everything the
# road started ends with it.
shots="$build/screens"
mkdir -p "$shots"
. "$here/tests/prefix.sh"

work=$(mktemp -d)
cleanup() {
    qm_private_cleanup
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT
# A step that fails without a message of its own (a driver call ending with
# an error status under set -e) names itself and its line.
set -o errtrace
# Only the road's own shell speaks: a command substitution whose inner
# step fails reports through the assignment that used it.
trap 'qm_rc=$?; [ "$BASHPID" = "$$" ] &&
    echo "FAILED: line $LINENO of ${BASH_SOURCE[0]##*/}: $BASH_COMMAND (exit status $qm_rc)" >&2' ERR
# Wine's own error lines reach the road's output (shown when it fails).
export WINEDEBUG=-all,err+all
qm_private_prefix "$build" x11 || { echo "FAILED: no prefix" >&2; exit 1; }
qm_start_xvfb || { echo "FAILED: no X server" >&2; exit 1; }
mkdir -p "$work/home"
key='HKCU\Software\Verdant Arcade\Quillmark Draw\Quillmark Draw Version 2.50'
"$QM_WINE" reg add "$key" /v UserHomeDir /d "$("$QM_WINE" winepath -w "$work/home" | tr -d '\r')" \
    /f >/dev/null
# The home folder a new user has: the template control file the program
# ships and its two template documents, written by the program's own writer.
cp "$here/resources/templates/~qmtmpl.dat" "$work/home/"
mkdir -p "$work/home/templates"
"$QM_WINE" "$build/tests/qmdrive.exe.so" newdoc \
    "$("$QM_WINE" winepath -w "$work/home/templates/blank.qm" | tr -d '\r')" 1 >/dev/null
"$QM_WINE" "$build/tests/qmdrive.exe.so" newdoc \
    "$("$QM_WINE" winepath -w "$work/home/templates/twopages.qm" | tr -d '\r')" 2 >/dev/null

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# The Windows form of a path of this machine (for the program and the driver).
winpath() { "$QM_WINE" winepath -w "$1" | tr -d '\r'; }

# The driver in the same prefix (tests/e2e/qmdrive.cpp), its output without CRs.
drive() { "$QM_WINE" "$build/tests/qmdrive.exe.so" "$@" | tr -d '\r'; }

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

# Waits for the frame of the program started as process $1.
wait_frame() {
    for _ in $(seq 1 600); do
        [ -n "$(frame_line)" ] && return 0
        if ! kill -0 "$1" 2>/dev/null; then
            local rc=0
            wait "$1" 2>/dev/null || rc=$?
            [ -n "$(frame_line)" ] && return 0
            fail "the program ended (exit status $rc) before showing its frame; $(qm_xvfb_state)"
        fi
        sleep 0.2
    done
    fail "no frame window appeared"
}

# A new start begins a new document, whose first page the page sheet asks
# for: answered with OK.
accept_first_page() {
    local sheet
    sheet=$(drive firstpage) || fail "no page sheet for the first page"
    [ "$sheet" = "Create the First Page of the New File" ] || fail "the page sheet is \"$sheet\""
}

# Starts the program with a new document, waits for its frame and answers
# the first page's sheet; the process id goes to the variable named $1.
start_new_document() {
    "$QM_WINE" "$exe.so" &
    printf -v "$1" '%s' "$!"
    wait_frame "$!"
    accept_first_page
}
