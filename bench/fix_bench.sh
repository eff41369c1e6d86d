#!/usr/bin/env bash
# Times `fix --dry-run` against `analyze --json` over 10,000 generated pages (a site of 8 KB
# pages, none with a viewport, charset, language, canonical link or social card, so every page
# gets a diff), runs of the two interleaved so that a busy machine slows both alike. Prints
# each median and their ratio; the fix must stay within 1.3 times the analysis.
#
#   bench/fix_bench.sh RELEASE_BUILD [runs] [pages]
set -euo pipefail

build="${1:?usage: fix_bench.sh RELEASE_BUILD [runs] [pages]}"
cli="$build/cli/velmora-cli"
runs=${2:-5}
pages=${3:-10000}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work"
"$build/bench/generate_pages" "$work/site" "$pages" 8192 > /dev/null

milliseconds() {
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null 2>&1 || [ $? -eq 1 ]
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

: > "$work/analyze" && : > "$work/fix"
for _ in $(seq "$runs"); do
    milliseconds "$cli" analyze --json --no-config --defaults "$work/site" >> "$work/analyze"
    milliseconds "$cli" fix --dry-run --no-config --defaults --lang en --og-image /card.png \
        --base-url https://example.org/ "$work/site" >> "$work/fix"
done
a=$(median < "$work/analyze") f=$(median < "$work/fix")
awk -v a="$a" -v f="$f" -v runs="$runs" -v pages="$pages" 'BEGIN {
    printf "%d pages, median of %d runs: analyze --json %d ms; fix --dry-run %d ms (%.2f x)\n",
        pages, runs, a, f, f / a
}'
