#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Quiet and quick
# when everything is already there; safe to run again.
set -euo pipefail

# The program is a 64-bit Winelib build: this sandbox cannot execute i386
# code, so wine64 is the runtime (see README, "Platform"). fontconfig is there
# as on any desktop: with it Wine draws text antialiased, as users see it.
# ghostscript draws the PostScript the printing check prints. ccache lets a
# build reuse the objects of an earlier build of the same sources.
PKGS=(wine wine64 wine64-tools libwine-dev:amd64 libfreeimage-dev:amd64 libgtest-dev:amd64
      libhunspell-dev:amd64 hunspell-en-us fonts-liberation fonts-ipafont-gothic fontconfig
      cmake make g++ ccache xvfb xauth x11-utils imagemagick file ghostscript util-linux)

missing=()
for p in "${PKGS[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
