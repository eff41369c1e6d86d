#!/usr/bin/env bash
# Compares the reports of two builds of velmora-cli page by page: `analyze --json` and the
# readable report, under the four case modes (sensitive, mixed, lower, and a stored mode outside
# the range, which reads as sensitive), on the sample pages, generated English-like pages of
# several sizes and varied small pages. Prints the sha256 of each build's output per set and
# mode, the number of pages whose reports differ and, for JSON, the fields that differ.
#
#   bench/compare_outputs.sh <old build> <new build> [pages per set]
set -euo pipefail

old=${1:?usage: compare_outputs.sh <old build> <new build> [pages per set]}
new=${2:?usage: compare_outputs.sh <old build> <new build> [pages per set]}
count=${3:-200}
root=$(cd "$(dirname "$0")/.." && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work"

mkdir -p "$work/pages/examples"
find "$root/examples" -maxdepth 1 -type f -exec cp -t "$work/pages/examples/" {} +
for size in 3000 20480 65536; do
    "$new/bench/generate_pages" "$work/pages/english-$size" "$count" "$size"
done
"$new/bench/generate_varied_pages" "$work/pages/varied" "$((count * 5))"

# A stored case mode of 7 is kept and read as case-sensitive.
mkdir -p "$work/stored/Kelgard"
printf '[General]\nKeywordCase=7\n' > "$work/stored/Kelgard/HtmlVelmora.conf"

# Compares two outputs page by page: prints the number of pages whose report differs and, for
# JSON, the fields that differ with their counts.
compare() {
    python3 -c '
import json, sys
def pages(path, form):
    data = open(path, "rb").read()
    if form == "json":
        return [(json.loads(line)["file"], line) for line in data.splitlines()]
    blocks = [b for b in data.split(b"\n\n") if b.strip()]
    return [(b.split(b"\n")[0].decode("utf-8", "replace"), b) for b in blocks]
form = sys.argv[3]
old, new = pages(sys.argv[1], form), pages(sys.argv[2], form)
if [name for name, _ in old] != [name for name, _ in new]:
    print("different pages or order"); sys.exit()
fields = {}
changed = 0
for (name, a), (_, b) in zip(old, new):
    if a == b:
        continue
    changed += 1
    if form == "json":
        x, y = json.loads(a), json.loads(b)
        for key in x.keys() | y.keys():
            if x.get(key) != y.get(key):
                fields[key] = fields.get(key, 0) + 1
print(changed, " ".join(f"{k}:{v}" for k, v in sorted(fields.items())))
' "$1" "$2" "$3"
}

differing=0
printf '%-16s %-10s %-6s %-16s %-16s %s\n' set mode format old new "differing pages"
for set in "$work"/pages/*; do
    for mode in sensitive mixed lower stored; do
        for format in json text; do
            if [ "$mode" = stored ]; then
                flags=()
                config="$work/stored"
            else
                flags=(--defaults --case "$mode")
                config="$work/config"
            fi
            [ "$format" = json ] && flags+=(--json)
            for build in old new; do
                cli="${!build}/cli/velmora-cli"
                XDG_CONFIG_HOME="$config" "$cli" analyze "${flags[@]}" -j 2 "$set" \
                    > "$work/$build.out" 2> /dev/null || true
            done
            result=$(compare "$work/old.out" "$work/new.out" "$format")
            differing=$((differing + ${result%% *}))
            printf '%-16s %-10s %-6s %-16s %-16s %s\n' "$(basename "$set")" "$mode" "$format" \
                "$(sha256sum < "$work/old.out" | cut -c1-16)" \
                "$(sha256sum < "$work/new.out" | cut -c1-16)" "$result"
        done
    done
done
echo "pages with differing reports: $differing"
