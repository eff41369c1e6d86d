#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The file names the bash and zsh completions offer, in real bash and zsh, in a folder of names
# with blanks and extensions written in capitals: a name with blanks is one word, extensions
# match in any case, and files of other kinds are not offered.
# completion_files_test.sh BASH_COMPLETION ZSH_COMPLETION_DIR SCRATCH_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash_completion=$(realpath "$1") zsh_completion_dir=$(realpath "$2") scratch=$3

rm -rf "$scratch"
mkdir -p "$scratch/sub dir"
cd "$scratch"
touch "My Page.HTML" "my other.Php" index.htm notes.txt "runs.JSONL"

# LINE, then the offers expected for its last word, one per line, sorted.
cases=(
    "velmora-cli analyze " $'index.htm\nmy other.Php\nMy Page.HTML\nsub dir'
    "velmora-cli analyze My" "My Page.HTML"
    "velmora-cli report -o x sub" "sub dir"
    "velmora-cli duplicates " $'runs.JSONL\nsub dir'
    "velmora-cli compress n" "notes.txt"
)

status=0
check() {
    local shell=$1 line=$2 expected=$3 offered=$4
    if [ "$offered" != "$expected" ]; then
        echo "$shell offers after '$line':"
        diff <(echo "$expected") <(echo "$offered") || true
        status=1
    fi
}

for ((i = 0; i < ${#cases[@]}; i += 2)); do
    line=${cases[i]}
    read -ra words <<<"$line"
    [[ $line == *" " ]] && words+=("")
    offered=$(bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _velmora_cli
        printf "%s\n" "${COMPREPLY[@]}"' _ "$bash_completion" "${words[@]}" | LC_ALL=C sort -f)
    check bash "$line" "${cases[i + 1]}" "$offered"
done

if ! command -v zsh >/dev/null; then
    echo "zsh is not installed: its completion was not checked"
    exit $status
fi
# zsh quotes the blanks of the names it offers, and may offer a name again as typed.
zsh_lines=$(for ((i = 0; i < ${#cases[@]}; i += 2)); do echo "${cases[i]}"; done)
zsh_offered=$(zsh "$here/zsh_offers.zsh" "$zsh_completion_dir" <<<"$zsh_lines")
for ((i = 0; i < ${#cases[@]}; i += 2)); do
    line=${cases[i]}
    offered=$(awk -F'\t' -v line="$line" '$1 == line { print $2 }' \
        <<<"$zsh_offered" | sed 's/\\ / /g' | LC_ALL=C sort -fu)
    check zsh "$line" "${cases[i + 1]}" "$offered"
done
exit $status
