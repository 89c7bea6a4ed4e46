#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# A clone of the repository in a folder of its own, with nothing beside it, builds and passes
# the tests that read photos: the tests carry their own data.
# freshclone_test.sh SOURCE-FOLDER
set -euo pipefail
source=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
clone=$scratch/alone/gallivex
git clone --quiet --no-hardlinks "$source" "$clone"
git -C "$clone" checkout --quiet "$(git -C "$source" rev-parse HEAD)" # what the source has checked out
[[ -z "$(ls -A "$scratch/alone" | grep -vx gallivex)" ]]
start=$SECONDS
# The same compiler cache as scripts/build.sh, with paths relative to the folder above the
# checkout, so the clone reuses the objects of the build this test runs in.
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/gallivex-ccache}" CCACHE_BASEDIR=$scratch/alone CCACHE_NOHASHDIR=1
cmake -S "$clone" -B "$clone/build" -G Ninja -DCMAKE_BUILD_TYPE="${GV_BUILD_TYPE:-RelWithDebInfo}" >/dev/null
programs=(imaging_tests images_tests varnex_tests imagelist_tests gallivexcli_tests)
cmake --build "$clone/build" --target "${programs[@]}" >"$scratch/build.log" 2>&1 ||
    { tail -n 40 "$scratch/build.log"; exit 1; }
home=$scratch/home
mkdir -p "$home/home"
for program in "${programs[@]}"; do
    HOME=$home/home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data QT_QPA_PLATFORM=offscreen \
        "$clone/build/tests/$program" --gtest_brief=1 >"$scratch/$program.log" 2>&1 ||
        { tail -n 60 "$scratch/$program.log"; echo "fresh clone: $program failed" >&2; exit 1; }
done
echo "fresh clone: ${programs[*]} pass in a clone with nothing beside it ($((SECONDS - start)) s)"
