#!/usr/bin/env bash
# Installs the Debian packages that building and testing need. Safe to run again: it only
# installs what is missing and refreshes the package lists at most once.
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
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
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
