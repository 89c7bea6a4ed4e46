#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# `cmake --install` into a scratch prefix: the GNU layout, read-only data, and programs that
# find their plug-ins, themes and data from their own folder after the prefix is moved.
# install_test.sh BUILD-FOLDER PHOTO
set -euo pipefail
build=$1 photo=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$scratch/first" >/dev/null
prefix=$scratch/moved
mv "$scratch/first" "$prefix"
libdir=$(cd "$prefix" && dirname "$(find . -path '*/gallivex/libtolvane.so')")
libdir=${libdir#./}

for file in bin/gallivex bin/gallivex-cli bin/morlune bin/lumivex "$libdir/libvarnex.so" \
    "$libdir/plugins/libgvhtml.so" share/gallivex/graphics/help.gif \
    share/gallivex/help/gv/wizard/welcome.html share/gallivex/themes/html/classic/theme.json \
    share/applications/gallivex.desktop share/applications/morlune.desktop \
    share/metainfo/example.vellora.Gallivex.metainfo.xml share/mime/packages/gallivex.xml \
    share/man/man1/gallivex-cli.1 share/man/man1/morlune.1 share/man/man1/lumivex.1 \
    share/man/man1/gallivex.1 \
    share/applications/lumivex.desktop share/gallivex/graphics/lumivex/light/width@2x.png \
    share/bash-completion/completions/gallivex-cli share/doc/gallivex/LICENSE \
    share/icons/hicolor/scalable/apps/gallivex.svg share/icons/hicolor/48x48/apps/gallivex.png \
    share/icons/hicolor/256x256/apps/gallivex.png; do
    [[ -e "$prefix/$file" ]] || fail "$file is not installed"
done
# The pages written by hand read without a complaint of groff's.
for page in gallivex lumivex; do
    warnings=$(groff -man -ww -z "$prefix/share/man/man1/$page.1" 2>&1)
    [[ -z "$warnings" ]] || fail "the manual page of $page: $warnings"
done
[[ -z "$(find "$prefix/share/gallivex" -perm /022)" ]] || fail "shipped data is writable by others"
[[ -z "$(find "$prefix" -name '*.a' -o -name '.generated')" ]] || fail "build leftovers installed"
readelf -d "$prefix/bin/gallivex-cli" | grep -q 'RUNPATH.*\$ORIGIN/\.\./' ||
    fail "gallivex-cli does not find its libraries relative to itself"
if readelf -d "$prefix/bin/gallivex-cli" "$prefix/$libdir/plugins/libgvhtml.so" | grep -q "$build"; then
    fail "an installed file refers to the build folder"
fi

# The moved prefix, with a home of its own: the shipped plug-in and themes are found.
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config XDG_DATA_HOME=$scratch/home/.local/share
mkdir -p "$HOME"
themes=$("$prefix/bin/gallivex-cli" themes --json)
grep -q "\"library\": *\"$prefix/$libdir/plugins/libgvhtml.so\"" <<<"$themes" ||
    fail "the HTML plug-in is not found in the installed tree: $themes"
for theme in classic mosaic slideshow; do
    grep -qi "\"name\": *\"$theme\"" <<<"$themes" || fail "the shipped theme $theme is not found"
done
mkdir -p "$scratch/photos"
cp "$photo" "$scratch/photos/"
"$prefix/bin/gallivex-cli" new "$scratch/demo.gvp" "$scratch/photos" >/dev/null
"$prefix/bin/gallivex-cli" generate "$scratch/demo.gvp" --dest "$scratch/album" --yes >/dev/null
[[ -f "$scratch/album/index.html" ]] || fail "the installed gallivex-cli made no album"
echo "install test: the installed tree works from $prefix"
