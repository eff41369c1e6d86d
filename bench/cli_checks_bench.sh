#!/usr/bin/env bash
# Compares velmora-cli from two Release builds on 1,000 generated 20 KB pages: `analyze --json`
# with -j 1 and -j 2, runs of the two builds interleaved so that a busy machine slows both alike.
# NEW runs once with every check and once without the duplicate checks. The pages all share one
# title and description (--same-head), so each page's duplicate checks name the 999 others.
#
#   bench/cli_checks_bench.sh OLD_BUILD NEW_BUILD [runs]
set -euo pipefail

old="${1:?usage: cli_checks_bench.sh OLD_BUILD NEW_BUILD [runs]}/cli/velmora-cli"
new="${2:?usage: cli_checks_bench.sh OLD_BUILD NEW_BUILD [runs]}/cli/velmora-cli"
runs=${3:-7}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work"
"$2/bench/generate_pages" "$work/site" 1000 20480 --same-head > /dev/null

milliseconds() {
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

for jobs in 1 2; do
    : > "$work/old" && : > "$work/all" && : > "$work/single"
    for _ in $(seq "$runs"); do
        milliseconds "$old" analyze --json --defaults -j "$jobs" "$work/site" >> "$work/old"
        milliseconds "$new" analyze --json --defaults -j "$jobs" "$work/site" >> "$work/all"
        milliseconds "$new" analyze --json --defaults -j "$jobs" --skip-check duplicate-title \
            --skip-check duplicate-description "$work/site" >> "$work/single"
    done
    o=$(median < "$work/old") a=$(median < "$work/all") s=$(median < "$work/single")
    awk -v j="$jobs" -v o="$o" -v a="$a" -v s="$s" -v runs="$runs" 'BEGIN {
        printf "-j %d, median of %d runs: old %d ms; new %d ms (%+.1f%%); new without duplicates %d ms (%+.1f%%)\n",
            j, runs, o, a, (a - o) * 100 / o, s, (s - o) * 100 / o
    }'
done
