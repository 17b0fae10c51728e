# Sourced by the scripts: the 64-bit Wine runtime and a private prefix.
# Usage: . tests/wine_env.sh PREFIX [null|x11]
QM_PREFIX=$1
QM_DRIVER=${2:-null}
export WINEPREFIX=$QM_PREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
QM_WINE=/usr/lib/wine/wine64
# Without address-space randomisation where the machine allows it (see the
# script).
if setarch "$(uname -m)" -R true 2>/dev/null; then
  QM_WINE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine_norandom.sh"
fi

qm_prefix_init() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$QM_WINE" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w || true
  fi
  local want="\"Graphics\"=\"$QM_DRIVER\""
  if ! grep -q "$want" "$WINEPREFIX/user.reg" 2>/dev/null; then
    "$QM_WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$QM_DRIVER" /f >/dev/null 2>&1
    "$WINESERVER" -w || true
  fi
  # The faces documents name most are not installed here: Wine lists and
  # matches the Liberation faces of the same metrics under their names.
  if ! grep -q '"Arial"="Liberation Sans"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    local face
    for face in "Arial=Liberation Sans" "Times New Roman=Liberation Serif" \
                "Courier New=Liberation Mono"; do
      "$QM_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${face%%=*}" \
        /d "${face#*=}" /f >/dev/null 2>&1
    done
    "$WINESERVER" -w || true
  fi
}
