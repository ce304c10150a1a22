#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need (and
# any further packages named on the command line), but only those that are
# missing, and the comma locale the locale tests run under.
set -euo pipefail

packages=(cmake make g++ ccache pkg-config
          qt6-base-dev qt6-serialport-dev qt6-multimedia-dev qt6-translations-l10n libgl-dev
          libgtest-dev libgmock-dev
          locales xvfb xauth imagemagick poppler-utils
          desktop-file-utils appstream shared-mime-info libglib2.0-bin dpkg-dev "$@")

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
