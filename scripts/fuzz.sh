#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the fuzz targets with clang's libFuzzer (ASan and UBSan on) into build-fuzz/ and runs
# each for a while: scripts/fuzz.sh [seconds per target, default 60] [target...].
# Each target starts from its seeds (photos, small HEIF, AVIF and JPEG XL files with GPS, the
# shipped themes' pages, project files) and keeps what it finds in build-fuzz/corpus/TARGET;
# the last line of each run tells the executions and the coverage reached.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds="${1:-60}"
shift || true
command -v clang++ >/dev/null || { echo "fuzz: clang++ is not installed" >&2; exit 1; }
build="$root/build-fuzz"
if [[ ! -f "$build/build.ninja" ]]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
targets=(iptc_fuzz exiftext_fuzz projectxml_fuzz legacyproject_fuzz pagetemplate_fuzz filelist_fuzz
    bmffmetadata_fuzz)
[[ $# -gt 0 ]] && targets=("$@")
flock /tmp/gallivex-build.lock cmake --build "$build" --target "${targets[@]}"

# The folders a target starts from; they are only read.
seedsOf() {
    case "$1" in
    iptc_fuzz | exiftext_fuzz) echo "$root/tests/data/photos" ;;
    projectxml_fuzz | legacyproject_fuzz) echo "$root/tests/fuzz/seeds/projects" ;;
    filelist_fuzz) echo "$root/tests/fuzz/seeds/filelists" ;;
    bmffmetadata_fuzz) echo "$root/tests/fuzz/seeds/boxed" ;;
    pagetemplate_fuzz)
        # Every page of every shipped theme, named after its theme (each has an index.html).
        local pages="$build/seeds/pagetemplate_fuzz"
        rm -rf "$pages" && mkdir -p "$pages"
        for page in "$root"/outputs/html/themes/*/*.html; do
            cp "$page" "$pages/$(basename "$(dirname "$page")")-$(basename "$page")"
        done
        echo "$pages"
        ;;
    esac
}

for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    echo "fuzz: $target for ${seconds}s"
    "$build/tests/$target" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
        "$corpus" "$(seedsOf "$target")" >/dev/null 2>"$build/$target.log" ||
        { tail -n 40 "$build/$target.log"; exit 1; }
    grep -E '^#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb' "$build/$target.log" |
        sed "s/^/fuzz: $target: /"
done
echo "fuzz: no failures"
