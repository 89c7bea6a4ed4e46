#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The Debian package: cpack makes it, its dependencies are computed, and the programs run
# from the files it holds, unpacked into a scratch root. package_test.sh BUILD-FOLDER PHOTO
set -euo pipefail
build=$1 photo=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "package test: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/package" >"$scratch/cpack.log" 2>&1) ||
    { cat "$scratch/cpack.log"; fail "cpack failed"; }
deb=$(ls "$scratch"/package/gallivex_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "package test: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB; Depends: $depends"
for needed in libvips42 'libqt6widgets6' 'libexiv2-27' libc6; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed"
done
grep -q -- '-dev' <<<"$depends" && fail "Depends names a -dev package"

root=$scratch/root
dpkg -x "$deb" "$root"
[[ -x "$root/usr/bin/gallivex" ]] || fail "the package has no gallivex program"
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config XDG_DATA_HOME=$scratch/home/.local/share
mkdir -p "$HOME" "$scratch/photos"
themes=$("$root/usr/bin/gallivex-cli" themes)
grep -q "$root/usr/lib/.*gallivex/plugins/libgvhtml.so" <<<"$themes" ||
    fail "the packaged plug-in is not found: $themes"
cp "$photo" "$scratch/photos/"
"$root/usr/bin/gallivex-cli" new "$scratch/demo.gvp" "$scratch/photos" >/dev/null
"$root/usr/bin/gallivex-cli" generate "$scratch/demo.gvp" --dest "$scratch/album" --yes >/dev/null
[[ -f "$scratch/album/index.html" ]] || fail "the packaged gallivex-cli made no album"
# The wizard starts and keeps running until it is closed (here by the time limit).
status=0
QT_QPA_PLATFORM=offscreen timeout 5 "$root/usr/bin/gallivex" >"$scratch/gallivex.log" 2>&1 || status=$?
[[ $status -eq 124 ]] || { cat "$scratch/gallivex.log"; fail "the packaged gallivex ended at once ($status)"; }
echo "package test: the packaged programs make an album and the wizard starts"
