#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the Debian packages that building and testing need. Safe to run again: it only
# installs what is missing and refreshes the package lists at most once.
#   scripts/install-deps.sh --check   lists what is missing and exits 1 if anything is
set -euo pipefail

packages=(
    cmake ninja-build ccache g++ pkg-config
    qt6-base-dev
    libvips-dev libvips-tools libexiv2-dev libtinyxml2-dev libgif-dev
    googletest libgtest-dev libgmock-dev
    libzip-dev chromium
    # Scanners and cameras; sane-utils brings the test scanner the tests acquire from.
    libsane-dev sane-utils
    # The road test: a private X desktop with a window manager, the accessibility bus and
    # its Python client, clicks and keys, screenshots; Qt's GTK theme for the dark scheme.
    xvfb openbox x11-utils xdotool python3-pyatspi at-spi2-core dbus dbus-x11 imagemagick
    xdg-utils qt6-gtk-platformtheme
    # Real photographs (nature, GPL-2+) for the demo album that scripts/run.sh makes.
    mate-backgrounds
    # The desktop road test: a display server and a window manager.
    xvfb xauth openbox
    # Remembered FTP passwords in the desktop's secret store.
    qtkeychain-qt6-dev
    # FTP servers on 127.0.0.1 for the publishing tests.
    vsftpd python3-pyftpdlib
    # Installing and packaging: manual pages, desktop and AppStream checks, MIME detection,
    # the Debian package's dependencies, the fresh-clone test.
    help2man desktop-file-utils appstream shared-mime-info xdg-utils libglib2.0-bin
    dpkg-dev file git
)
# Commands that a package of another source may bring (Node.js packages that include npm
# conflict with Debian's npm): the command counts, and Debian's package brings it if missing.
declare -A commands=([node]=nodejs [npm]=npm)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
for c in "${!commands[@]}"; do
    command -v "$c" >/dev/null || missing+=("${commands[$c]}")
done
if [[ "${1:-}" == --check ]]; then
    [[ ${#missing[@]} -eq 0 ]] && { echo "install-deps: everything is installed"; exit 0; }
    echo "install-deps: missing: ${missing[*]}" >&2
    exit 1
fi
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "install-deps: run as root or install sudo" >&2; exit 1; }
    sudo="sudo"
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
