#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Bash completion of gallivex-cli and morlune: commands, each command's options, projects.
# completion_test.sh SOURCE-FOLDER BIN-FOLDER
set -euo pipefail
source=$1
export PATH=$2:$PATH
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "completion test: $*" >&2; exit 1; }
# shellcheck source=/dev/null
. "$source/packaging/gallivex-cli.bash"

# Completes the last word of a command line; the candidates, sorted, one line.
complete_line() {
    read -r -a COMP_WORDS <<<"$1"
    [[ $1 == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    local function
    function=$(complete -p "${COMP_WORDS[0]}" | sed 's/.*-F \([^ ]*\) .*/\1/')
    "$function"
    printf '%s\n' "${COMPREPLY[@]}" | sort | xargs
}
expect() {
    local got
    got=$(complete_line "$1")
    [[ $got == "$2" ]] || fail "\"$1\" completes to \"$got\", not \"$2\""
}

expect "gallivex-cli " "--help generate help info new publish set themes"
expect "gallivex-cli ge" "generate"
expect "gallivex-cli generate --d" "--delete --dest"
expect "gallivex-cli themes --" "--help --json --plugins"
expect "gallivex-cli help s" "set"
cd "$scratch"
mkdir albums && touch trip.gvp notes.txt sunny.thm
expect "gallivex-cli set " "albums trip.gvp"
expect "gallivex-cli generate trip.gvp --dest a" "albums"
expect "gallivex-cli publish " "albums"
expect "gallivex-cli publish albums ftp://example.org/ --password-file n" "notes.txt"
expect "morlune " "albums sunny.thm"
expect "morlune --" "--help --plugins"
echo "completion test: commands, options and files complete"
