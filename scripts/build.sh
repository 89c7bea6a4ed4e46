#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Configures (once) and builds into build/: the whole tree, or the targets named.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${GV_BUILD_DIR:-$root/build}"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/gallivex-ccache}"
# Paths relative to the folder above the checkout, so clones and worktrees side by side
# (CI's fresh clone too) reuse each other's compiled objects.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$root")}" CCACHE_NOHASHDIR=1
if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${GV_BUILD_TYPE:-RelWithDebInfo}"
fi
# One build at a time on this machine: parallel builds from several shells would starve it.
targets=()
[[ $# -gt 0 ]] && targets=(--target "$@")
exec flock /tmp/gallivex-build.lock cmake --build "$build" "${targets[@]}"
