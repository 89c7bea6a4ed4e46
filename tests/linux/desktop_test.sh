#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The desktop files and AppStream metainfo pass the freedesktop.org validators, and the
# MIME database recognises album projects and theme packages, a project even without its
# name's extension. desktop_test.sh SOURCE-FOLDER BUILD-FOLDER PHOTO
set -euo pipefail
source=$1 build=$2 photo=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "desktop test: $*" >&2; exit 1; }

desktop-file-validate "$source/packaging/gallivex.desktop" "$source/packaging/morlune.desktop"
appstreamcli validate --no-net "$build/packaging/example.vellora.Gallivex.metainfo.xml"

# A MIME database of the test's own, with our definitions, in front of the system's.
data=$scratch/data
mkdir -p "$data/mime/packages" "$scratch/home"
cp "$source/packaging/gallivex-mime.xml" "$data/mime/packages/gallivex.xml"
export HOME=$scratch/home XDG_DATA_HOME=$data XDG_DATA_DIRS=$data:/usr/share
update-mime-database "$data/mime"
export XDG_CURRENT_DESKTOP=GNOME GIO_USE_VFS=local # xdg-mime asks GIO, which reads the above
filetype() { xdg-mime query filetype "$1"; }

# A project written by the program itself, then with neither extension nor a telling name.
"$build/bin/gallivex-cli" new "$scratch/trip.gvp" "$photo" >/dev/null
[[ $(filetype "$scratch/trip.gvp") == application/x-gallivex-project ]] ||
    fail "trip.gvp is $(filetype "$scratch/trip.gvp")"
mv "$scratch/trip.gvp" "$scratch/trip"
[[ $(filetype "$scratch/trip") == application/x-gallivex-project ]] ||
    fail "a project without extension is $(filetype "$scratch/trip")"
# The same with an XML declaration before the root element.
{ echo '<?xml version="1.0" encoding="UTF-8"?>'; cat "$scratch/trip"; } >"$scratch/declared"
[[ $(filetype "$scratch/declared") == application/x-gallivex-project ]] ||
    fail "a project with an XML declaration is $(filetype "$scratch/declared")"
# Other XML is not taken for a project.
echo '<?xml version="1.0"?><projects/>' >"$scratch/other"
[[ $(filetype "$scratch/other") != application/x-gallivex-project ]] ||
    fail "other XML is taken for a project"
# A theme package is a zip archive named *.thm.
(cd "$scratch" && mkdir theme && echo '{}' >theme/theme.json && python3 -m zipfile -c sunny.thm theme)
[[ $(filetype "$scratch/sunny.thm") == application/x-gallivex-theme ]] ||
    fail "sunny.thm is $(filetype "$scratch/sunny.thm")"
# Each type opens with its program's desktop entry.
grep -q '^MimeType=application/x-gallivex-project;' "$source/packaging/gallivex.desktop"
grep -q '^MimeType=application/x-gallivex-theme;' "$source/packaging/morlune.desktop"
echo "desktop test: validators and MIME types pass"
