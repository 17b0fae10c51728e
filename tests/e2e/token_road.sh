#!/usr/bin/env bash
# The Database Token Editor under Xvfb with the real program: with no
# document open, frame command 519 opens it; a database name typed into its
# field, Save As to a ".tkn" path, Close. The file must hold the token's two
# lines.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${QM_BUILD_DIR:?}
exe=${1:-$build/quillmark.exe}
. "$here/tests/e2e/lib/common.sh"

start_new_document first
drive command 110
[ "$(drive ask 16)" = 0 ] || fail "the document did not close"

token="$work/home/main.tkn"
drive post 519
caption=$(drive dialog 105=data.xdb +203) || fail "the token editor did not take the name"
[ "$caption" = "Database Token Editor" ] || fail "the dialog is \"$caption\""
drive filedlg "$(winpath "$token")" || fail "Save As did not take the token's name"
drive dialog >/dev/null || fail "the token editor did not close"
[ -f "$token" ] || fail "no token file was written"
printf '[file type = dbtoken]\r\ndata.xdb' | cmp - "$token" ||
    fail "the token holds $(od -c "$token" | head -n 3)"
drive close || fail "the frame did not close"
wait "$first" || true
echo "token road passed"
