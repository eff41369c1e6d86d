#!/usr/bin/env bash
# Runs every fuzz target for longer than CI does: ./tools/fuzz.sh [SECONDS_EACH] (default 600).
# Findings are written to build/fuzz/findings/; turn each into a regression test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
source scripts/ensure-packages.sh
ensure_packages clang libclang-rt-14-dev

build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
mkdir -p "$build/findings"
for target in head_reader head_writer compression candidates review html_tokenizer; do
    work="$build/long-corpus-$target"
    mkdir -p "$work"
    cp -n tests/fuzz/corpus/* examples/* "$work/" 2>/dev/null || true
    echo "== $target for ${seconds}s"
    "$build/tests/fuzz/${target}_fuzz" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=20 \
        -max_len=65536 -artifact_prefix="$build/findings/$target-" -print_final_stats=1 "$work"
done
