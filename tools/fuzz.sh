#!/usr/bin/env bash
# Runs every fuzz target for longer than CI does: ./tools/fuzz.sh [SECONDS_EACH] (default 600).
# The targets and their seed folders are the ones tests/fuzz/CMakeLists.txt registers.
# Findings are written to build/fuzz/findings/; turn each into a regression test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
source scripts/ensure-packages.sh
ensure_packages clang libclang-rt-14-dev

build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
targets="$build/tests/fuzz/fuzz_targets.tsv"
[ -s "$targets" ] || {
    echo "fuzz.sh: $targets: no fuzz targets registered" >&2
    exit 1
}
mkdir -p "$build/findings"
while IFS=$'\t' read -r target seeds; do
    # Each target keeps its own corpus between runs, so a longer search builds on the last one.
    work="$build/long-corpus-$target"
    mkdir -p "$work"
    IFS=';' read -ra folders <<<"$seeds"
    for folder in "${folders[@]}"; do
        cp -rn "$folder/." "$work/"
    done
    echo "== $target for ${seconds}s"
    "$build/tests/fuzz/${target}_fuzz" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=20 \
        -max_len=65536 -artifact_prefix="$build/findings/$target-" -print_final_stats=1 "$work" \
        </dev/null
done <"$targets"
