#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (ASan and UBSan on) into build-fuzz/ and runs
# each for a while: scripts/fuzz.sh [seconds per target, default 60].
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds="${1:-60}"
command -v clang++ >/dev/null || { echo "fuzz: clang++ is not installed" >&2; exit 1; }
build="$root/build-fuzz"
if [[ ! -f "$build/build.ninja" ]]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
targets=(iptc_fuzz exiftext_fuzz projectxml_fuzz legacyproject_fuzz)
flock /tmp/gallivex-build.lock cmake --build "$build" --target "${targets[@]}"
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    echo "fuzz: $target for ${seconds}s"
    "$build/tests/$target" -max_total_time="$seconds" -max_len=65536 "$corpus" \
        "$root/tests/data/photos" >/dev/null 2>"$build/$target.log" ||
        { tail -n 40 "$build/$target.log"; exit 1; }
done
echo "fuzz: no failures"
