#!/usr/bin/env bash
# Times velmora-cli from a Release build: `analyze --json` of 1,000 generated 20 KB pages with
# -j 1 and -j 2, the same with one title and description shared by all the pages (each page's
# duplicate checks then name the 999 others), process start with one 20 KB page, and
# `compress --stdout` of a 10 MB page (whole process). Prints medians.
#
#   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
#   cmake --build build/release --target velmora-cli generate_pages -j2
#   bench/cli_bench.sh build/release
set -euo pipefail

build=${1:?usage: cli_bench.sh <release build folder> [runs]}
runs=${2:-5}
cli="$build/cli/velmora-cli"
generator="$build/bench/generate_pages"
pages=1000

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work"

"$generator" "$work/site" "$pages" 20480
"$generator" "$work/same" "$pages" 20480 --same-head
"$generator" "$work/one" 1 20480
single="$work/one/page-00000.htm"
"$generator" "$work/large" 1 10485760
large="$work/large/page-00000.htm"

# Median of the wall-clock milliseconds of `runs` runs of the command.
median_ms() {
    local times=()
    if command -v hyperfine > /dev/null; then
        hyperfine --runs "$runs" --warmup 1 --export-json "$work/h.json" --style none \
            "$(printf '%q ' "$@") > /dev/null" > /dev/null
        python3 -c "import json,sys; print(round(json.load(open(sys.argv[1]))['results'][0]['median']*1000, 1))" "$work/h.json"
        return
    fi
    "$@" > /dev/null
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s%N)
        "$@" > /dev/null
        end=$(date +%s%N)
        times+=($(( (end - start) / 1000 )))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { printf "%.1f\n", a[int((NR + 1) / 2)] / 1000 }'
}

j1=$(median_ms "$cli" analyze --json --defaults -j 1 "$work/site")
j2=$(median_ms "$cli" analyze --json --defaults -j 2 "$work/site")
same=$(median_ms "$cli" analyze --json --defaults -j 2 "$work/same")
one=$(median_ms "$cli" analyze --json --defaults "$single")
compress=$(median_ms "$cli" compress --defaults --stdout "$large")

awk -v j1="$j1" -v j2="$j2" -v same="$same" -v one="$one" -v compress="$compress" -v pages="$pages" \
    -v runs="$runs" 'BEGIN {
    printf "analyze --json, %d pages of 20 KB, median of %d runs\n", pages, runs
    printf "  -j 1: %8.1f ms  %6.0f pages/s\n", j1, pages * 1000 / j1
    printf "  -j 2: %8.1f ms  %6.0f pages/s  (%.2fx -j 1)\n", j2, pages * 1000 / j2, j1 / j2
    printf "  -j 2, one title on every page: %8.1f ms  %6.0f pages/s\n", same, pages * 1000 / same
    printf "process start + one 20 KB page: %.1f ms\n", one
    printf "compress --stdout, 10 MB page: %.1f ms\n", compress
}'
