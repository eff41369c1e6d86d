#!/usr/bin/env bash
# What the page checks add to a run: velmora-cli `analyze --json -j 2` over 1,000 generated 20 KB
# pages, once with every check on and once with every check skipped (--skip-check for each id
# the help lists), the two runs interleaved so that a busy machine slows both alike. Prints the
# median of each and their ratio.
#
# With every check skipped the page is still read once, for its role (a redirect or a noindex
# page has no score), so the ratio is what the checks' judging and reporting cost.
#
#   bench/page_checks_cost.sh RELEASE_BUILD [runs]
set -euo pipefail

build="${1:?usage: page_checks_cost.sh RELEASE_BUILD [runs]}"
cli="$build/cli/velmora-cli"
runs=${2:-9}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work"
"$build/bench/generate_pages" "$work/site" 1000 20480 > /dev/null

# The ids of the --skip-check line of the help: "... repeatable (title, description, ...)".
skips=()
for id in $("$cli" analyze --help | grep -- '--skip-check' | grep -o '([a-z0-9, -]*)$' |
    tr -d '(),'); do
    skips+=(--skip-check "$id")
done
[ ${#skips[@]} -gt 0 ] || { echo "no check ids found in velmora-cli analyze --help" >&2; exit 1; }

milliseconds() {
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

: > "$work/all" && : > "$work/none"
for _ in $(seq "$runs"); do
    milliseconds "$cli" analyze --json --defaults -j 2 "$work/site" >> "$work/all"
    milliseconds "$cli" analyze --json --defaults -j 2 "${skips[@]}" "$work/site" >> "$work/none"
done
a=$(median < "$work/all") n=$(median < "$work/none")
awk -v a="$a" -v n="$n" -v runs="$runs" -v ids=$((${#skips[@]} / 2)) 'BEGIN {
    printf "analyze --json -j 2, 1,000 pages of 20 KB, median of %d runs: every check %d ms; "\
        "%d checks skipped %d ms; ratio %.2f\n", runs, a, ids, n, a / n
}'
