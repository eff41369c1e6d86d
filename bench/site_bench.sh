#!/usr/bin/env bash
# The site checks' cost, on generated input (Release build):
#   bench/site_bench.sh BUILD [PAGES] [LINES]      (REPEATS=1 for one run of each)
# 1. analyze --json over PAGES generated pages (20 KB, 50 links each), with the site checks and
#    with every one of them skipped: the median run's time and its peak memory;
# 2. site over the JSON Lines of LINES pages (50 links each), written here and removed after.
set -euo pipefail
build=$(cd "$1" && pwd)
pages=${2:-10000}
lines=${3:-1000000}
cli=$build/cli/velmora-cli
work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-site-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

skipped=()
for id in duplicate-title duplicate-description broken-links broken-fragments canonical-target \
    hreflang-return orphan sitemap robots; do
    skipped+=(--skip-check "$id")
done

repeats=${REPEATS:-3}

# "SECONDS PEAK-KB" of the median of the runs of the command.
median_of_runs() {
    for ((run = 0; run < repeats; run++)); do
        /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>"$work/err" || {
            cat "$work/err" >&2
            return 1
        }
        cat "$work/time"
    done | sort -n | sed -n "$(((repeats + 1) / 2))p"
}

"$build/bench/generate_site" "$work/site" "$pages" 20000 50
echo "$pages pages, $(du -sh "$work/site" | cut -f1)"
with=$(median_of_runs "$cli" analyze --json --defaults -j 2 --base-url https://example.org/ \
    "$work/site")
without=$(median_of_runs "$cli" analyze --json --defaults -j 2 "${skipped[@]}" "$work/site")
echo "analyze with site checks:    ${with% *} s, ${with#* } KB peak"
echo "analyze without site checks: ${without% *} s, ${without#* } KB peak"
awk -v a="$with" -v b="$without" 'BEGIN {
    split(a, x, " "); split(b, y, " ")
    printf "ratio: %.2f x time, %.2f x memory\n", x[1] / y[1], x[2] / y[2] }'
rm -rf "$work/site"

"$build/bench/generate_site_lines" "$work/site.jsonl" "$lines" 50
echo "$lines lines, $(du -h "$work/site.jsonl" | cut -f1)"
/usr/bin/time -f '%e %M' -o "$work/time" "$cli" site --json --defaults "$work/site.jsonl" \
    >/dev/null 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
read -r seconds peak <"$work/time"
echo "site over $lines lines: $seconds s, $peak KB peak"
