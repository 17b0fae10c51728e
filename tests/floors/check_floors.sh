#!/usr/bin/env bash
# The floor plan of the program's folders (README.md, section Layout): each
# folder may include headers of its own and of the folders listed for it
# below, and resources/ (resource identifiers). A lower floor that must reach
# up calls a hook the upper floor installs at start-up.
#
# Reads every #include "folder/..." of the program's sources (every folder
# but tests/ and bench/) and names each file and line that includes a folder
# it may not, and each source folder that has no floor here. Exit status 1
# when there is any.
#
#   check_floors.sh [source root]     (the repository by default)
set -u
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}

# What each folder may include besides itself and resources/, bottom up.
# Folders listed on one line of the README share a floor and do not include
# one another; the user-interface folders may include one another.
below_ui="support model library controls objects text links forms"
declare -A may=(
    [resources]=""
    [support]=""
    [model]="support"
    [library]="support model"
    [controls]="support model"
    [objects]="support model library controls"
    [text]="support model library controls objects"
    [links]="support model library controls objects"
    [forms]="support model library controls objects text links"
    [views]="$below_ui views tools table textedit commands app"
    [tools]="$below_ui views tools table textedit commands app"
    [table]="$below_ui views tools table textedit commands app"
    [textedit]="$below_ui views tools table textedit commands app"
    [commands]="$below_ui views tools table textedit commands app"
    [app]="$below_ui views tools table textedit commands app"
)

# The program's folders: a folder-qualified include of anything else (a
# system header) is not the plan's concern.
folders=" $(cd "$root" && ls -d */ | tr -d / | tr '\n' ' ') "
faults=0
shopt -s nullglob
for dir in "$root"/*/; do
    folder=$(basename "$dir")
    case "$folder" in tests|bench|.*) continue ;; esac
    [ -e "$dir/CMakeCache.txt" ] && continue   # a build folder
    sources() {
        find "$dir" -type f \( -name '*.cpp' -o -name '*.c' -o -name '*.h' -o -name '*.hpp' \
             -o -name '*.inl' \) "$@"
    }
    [ -n "$(sources -print -quit)" ] || continue
    if [ -z "${may[$folder]+set}" ]; then
        echo "$folder/: a folder of sources with no floor in tests/floors/check_floors.sh"
        faults=$((faults + 1))
        continue
    fi
    # One awk pass over the folder's include lines: each folder-qualified
    # include of a program folder outside the allowed list is a fault.
    out=$(sources -exec grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"(\.\./)*[^/"]+/' {} + |
          sort -t: -k1,1 -k2,2n |
          awk -v root="$root/" -v folder="$folder" -v allowed=" $folder resources ${may[$folder]} " \
              -v folders="$folders" '
            {
                file = $0; sub(/:.*/, "", file)
                rest = substr($0, length(file) + 2)
                line = rest; sub(/:.*/, "", line)
                text = substr(rest, length(line) + 2)
                target = text
                sub(/^[^"]*"(\.\.\/)*/, "", target); sub(/\/.*/, "", target)
                if (index(allowed, " " target " ") || !index(folders, " " target " "))
                    next
                sub(/^[ \t]+/, "", text)
                print substr(file, length(root) + 1) ":" line ": " folder "/ may not include " target "/: " text
            }')
    if [ -n "$out" ]; then
        echo "$out"
        faults=$((faults + $(printf '%s\n' "$out" | wc -l)))
    fi
done

if [ "$faults" -gt 0 ]; then
    echo "$faults fault(s) against the floor plan"
    exit 1
fi
echo "every include keeps to the floor plan"
