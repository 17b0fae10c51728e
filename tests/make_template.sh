#!/usr/bin/env bash
# Makes the build's template Wine prefix once (BUILD/wineprefix-template):
# booted, with the null display driver chosen. Tests copy it and never
# write to it. Safe to run from several tests at once: the first makes it
# under a lock, the others wait for it.
#
#   tests/make_template.sh BUILD
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: make_template.sh BUILD}" && pwd)
template="$build/wineprefix-template"
exec 9>"$build/wineprefix-template.lock"
flock 9
# A template made before the font replacements were part of a prefix is
# made again.
[ -f "$template/system.reg" ] && grep -q '"Arial"="Liberation Sans"' "$template/user.reg" &&
    exit 0
rm -rf "$template.new"
. "$here/wine_env.sh" "$template.new" null
qm_prefix_init
# Wine links the user's Documents, Desktop and other folders to the home
# folder of this machine; tests that ran side by side would share them
# there. Each copy gets folders of its own instead.
find "$template.new/drive_c/users" -type l | while read -r link; do
    rm -f "$link"
    mkdir -p "$link"
done
# Menu entries for the desktop are never made here (winemenubuilder is
# turned off): its start at each new session would only print an error.
"$QM_WINE" reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunServices' \
    /v winemenubuilder /f >/dev/null 2>&1 || true
"$WINESERVER" -w || true
# qm_prefix_init waits for the prefix's server to end, so nothing runs in
# it when it takes its final name.
rm -rf "$template"
mv "$template.new" "$template"
