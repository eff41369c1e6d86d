#!/usr/bin/env bash
# Hostile and huge pages: for each kind, the wall time and peak memory of
# `velmora-cli analyze --defaults --json` on the page file, and the median time of a whole Review
# of the page in memory (hostile_review_bench) with that process's peak memory.
#
#   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
#   cmake --build build/release --target velmora-cli hostile_review_bench generate_hostile_pages -j2
#   bench/hostile_pages.sh build/release [repetitions] [name pattern]
set -euo pipefail

build=${1:?usage: hostile_pages.sh <release build folder> [repetitions] [name pattern]}
repetitions=${2:-3}
pattern=${3:-.}
cli="$build/cli/velmora-cli"
bench="$build/bench/hostile_review_bench"
generator="$build/bench/generate_hostile_pages"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"

"$generator" "$work/pages" > "$work/list"

# Sets elapsed (seconds) and peak (MiB) from a /usr/bin/time -v report.
read_usage() {
    elapsed=$(awk -F': ' '/Elapsed \(wall clock\)/ {
        n = split($2, p, ":"); s = 0; for (i = 1; i <= n; ++i) s = s * 60 + p[i]; print s }' "$1")
    peak=$(awk -F': ' '/Maximum resident set size/ { printf "%.0f", $2 / 1024 }' "$1")
}

printf '%-22s %8s | %10s %9s %4s | %12s %9s\n' page MiB "cli s" "cli MiB" exit \
    "review ms" "bench MiB"
grep -E -- "$pattern" "$work/list" | while read -r file; do
    name=$(basename "$file" .htm)
    size=$(stat -c %s "$file")

    set +e
    /usr/bin/time -v -o "$work/time" "$cli" analyze --defaults --json "$file" > /dev/null 2>&1
    status=$?
    set -e
    read_usage "$work/time"
    cli_time=$elapsed cli_peak=$peak

    /usr/bin/time -v -o "$work/time" "$bench" --benchmark_filter="^BM_HostileReview/$name\$" \
        --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
        --benchmark_format=csv > "$work/bench.csv" 2> /dev/null
    read_usage "$work/time"
    # The median row when there are aggregates, else the one run.
    review=$(awk -F, '/^"BM_HostileReview/ { t = $3; if ($1 ~ /_median"$/) { m = $3 } }
        END { printf "%.1f", m != "" ? m : t }' "$work/bench.csv")

    printf '%-22s %8s | %10.2f %9s %4s | %12s %9s\n' "$name" \
        "$(awk -v s="$size" 'BEGIN { printf "%.1f", s / 1048576 }')" "$cli_time" "$cli_peak" \
        "$status" "$review" "$peak"
done
