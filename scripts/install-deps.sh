#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the Debian packages that building and testing need. Safe to run again: it only
# installs what is missing and refreshes the package lists at most once.
#   scripts/install-deps.sh --check   lists what is missing and exits 1 if anything is
# pure-ftpd (the FTPS server of the tests) conflicts with vsftpd as a package, so it is never
# installed: its packages are unpacked into $GV_TEST_TOOLS (/opt/gallivex-test-tools by
# default), one copy for every checkout and build folder of the machine.
set -euo pipefail

packages=(
    cmake ninja-build ccache g++ pkg-config
    qt6-base-dev
    libvips-dev libvips-tools libexiv2-dev libtinyxml2-dev libgif-dev
    # Asked which HEIF codings (HEIC, AVIF) the image engine decodes.
    libheif-dev
    googletest libgtest-dev libgmock-dev
    # The thread sanitizer's runtime, for the test of the editor's thumbnail thread.
    libtsan2
    libzip-dev chromium
    # Qt's WebP reader: tests read the WebP pictures of albums as they read the JPEG ones.
    qt6-image-formats-plugins
    # XXH3 content hashes of photos and album files.
    libxxhash-dev
    # Scanners and cameras; sane-utils brings the test scanner the tests acquire from.
    libsane-dev sane-utils
    # The road test: a private X desktop with a window manager, the accessibility bus and
    # its Python client, clicks and keys, screenshots; Qt's GTK theme for the dark scheme.
    xvfb openbox x11-utils xdotool python3-pyatspi at-spi2-core dbus dbus-x11 imagemagick
    xdg-utils qt6-gtk-platformtheme
    # Real photographs (nature, GPL-2+) for the demo album that scripts/run.sh makes.
    mate-backgrounds
    # Renders the editor's printed PDF pages back to pictures, to check what was printed.
    poppler-utils
    # The desktop road test: a display server and a window manager.
    xvfb xauth openbox
    # Remembered FTP passwords in the desktop's secret store.
    qtkeychain-qt6-dev
    # FTP servers on 127.0.0.1 for the publishing tests: pyftpdlib, vsftpd, the SFTP server,
    # certificates and keys for the TLS one, the libraries the unpacked pure-ftpd needs, and
    # lftp for the publishing benchmark.
    vsftpd python3-pyftpdlib openssh-server openssh-client openssl passwd
    libsodium23 libcap2 libpam0g libssl3 lftp
    # The FTP client: libcurl (FTP, FTPS, SFTP) and OpenSSL for certificate keys.
    libcurl4-openssl-dev libssl-dev
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
tools=${GV_TEST_TOOLS:-/opt/gallivex-test-tools}
pureftpd=$tools/pure-ftpd
pureftpd_ok() { [[ -x $pureftpd/usr/sbin/pure-ftpd && -x $pureftpd/usr/bin/pure-pw ]]; }
if [[ "${1:-}" == --check ]]; then
    pureftpd_ok || missing+=("pure-ftpd (unpacked in $pureftpd)")
    [[ ${#missing[@]} -eq 0 ]] && { echo "install-deps: everything is installed"; exit 0; }
    echo "install-deps: missing: ${missing[*]}" >&2
    exit 1
fi

# Unpacks pure-ftpd's packages into its tools folder (a new folder renamed into place, so an
# interrupted run leaves nothing half-unpacked behind).
unpack_pureftpd() {
    pureftpd_ok && return 0
    echo "install-deps: unpacking pure-ftpd into $pureftpd"
    $sudo mkdir -p "$tools"
    local work
    work=$(mktemp -d)
    chmod 0755 "$work"
    (cd "$work" && apt-get download -qq pure-ftpd pure-ftpd-common 2>/dev/null \
        || { $sudo apt-get update -qq && apt-get download -qq pure-ftpd pure-ftpd-common; })
    mkdir "$work/root"
    for deb in "$work"/*.deb; do dpkg-deb -x "$deb" "$work/root"; done
    $sudo rm -rf "$pureftpd.new"
    $sudo mv "$work/root" "$pureftpd.new"
    $sudo rm -rf "$pureftpd"
    $sudo mv "$pureftpd.new" "$pureftpd"
    rm -rf "$work"
}

sudo=""
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "install-deps: run as root or install sudo" >&2; exit 1; }
    sudo="sudo"
fi
if [[ ${#missing[@]} -eq 0 ]]; then
    unpack_pureftpd
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
unpack_pureftpd
