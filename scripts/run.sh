#!/usr/bin/env bash
# Installs what is missing, builds, and runs the product's main job: gallivex-cli with the
# given arguments (by default "themes", the list of installed themes and their parameters).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" >&2
build="${GV_BUILD_DIR:-$root/build}"
[[ $# -gt 0 ]] || set -- themes
exec "$build/bin/gallivex-cli" "$@"
