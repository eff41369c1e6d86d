#!/usr/bin/env bash
# Peak memory of `velmora-cli set-title` on a generated 1 GB page (whole process: load, edit,
# change check, backup and save), from a Release build, as /usr/bin/time -f %M reports it.
# Prints the median of the runs in MB and as a multiple of the page's size.
#
#   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
#   cmake --build build/release --target velmora-cli generate_pages -j2
#   bench/save_memory.sh build/release [runs] [page bytes]
set -euo pipefail

build=${1:?usage: save_memory.sh <release build folder> [runs] [page bytes]}
runs=${2:-3}
bytes=${3:-1073741824}
cli="$build/cli/velmora-cli"
generator="$build/bench/generate_pages"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" TMPDIR="$work"

"$generator" "$work/site" 1 "$bytes"
page="$work/site/page-00000.htm"
size=$(stat -c %s "$page")

peaks=()
for run in $(seq "$runs"); do
    /usr/bin/time -f %M -o "$work/peak" "$cli" set-title "$page" "Title of run $run" > /dev/null
    peaks+=("$(cat "$work/peak")")
    rm -rf "$work/state" "$work"/velmora-backups-*
done
median=$(printf '%s\n' "${peaks[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
awk -v kb="$median" -v size="$size" -v runs="$runs" 'BEGIN {
    printf "set-title of a %.0f MB page: peak %.0f MB (median of %d), %.2f x the page\n",
        size / 1048576, kb / 1024, runs, kb * 1024 / size
}'
