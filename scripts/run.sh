#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, builds, and runs the product's main job.
#
#   scripts/run.sh                  makes a demo web album from real photographs (the nature
#                                   photos installed with the dependencies) and prints where
#   scripts/run.sh demo FOLDER      the same from the photos in FOLDER (and its subfolders)
#   scripts/run.sh ARGUMENTS...     runs gallivex-cli ARGUMENTS ("themes", "info PHOTO", ...)
#
# The demo goes to build/demo (GV_DEMO_DIR chooses another folder): the project demo.gvp and
# the album in album/, made afresh on every run with the default theme.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" >&2
build="${GV_BUILD_DIR:-$root/build}"
cli="$build/bin/gallivex-cli"
if [[ $# -gt 0 && "$1" != demo ]]; then
    exec "$cli" "$@"
fi

photos="${2:-/usr/share/backgrounds/mate/nature}"
if [[ ! -d "$photos" ]]; then
    echo "run.sh: there is no folder of photos at $photos" >&2
    exit 1
fi
demo="${GV_DEMO_DIR:-$build/demo}"
mkdir -p "$demo"
"$cli" new "$demo/demo.gvp" --force "$photos" >&2
# The album folder holds nothing but the previous demo album: it is replaced at once.
"$cli" generate "$demo/demo.gvp" --dest "$demo/album" --yes --delete >&2
echo "The demo album is in $demo/album: open $demo/album/index.html in a web browser."
