#!/usr/bin/env bash
# Every command, flag and flag value that velmora-cli's help prints is described in the manual
# page and offered by the bash and zsh completions, so none of them can fall behind the program.
# help_consistency_test.sh VELMORA_CLI MAN_PAGE BASH_COMPLETION ZSH_COMPLETION_DIR
set -euo pipefail
cli=$1 man_page=$2 bash_completion=$3 zsh_completion_dir=$4
here=$(cd "$(dirname "$0")" && pwd)
have_zsh=false
command -v zsh >/dev/null && have_zsh=true
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The commands that the top-level help lists.
commands_of_help() {
    "$cli" --help | awk '/^Subcommands:/ { listed = 1; next } listed && /^$/ { listed = 0 }
        listed && /^  [a-z]/ { print $1 }'
}

# The flags in the option column of a help text ("  -j,--jobs N   Pages..."), one a line.
flags_of_help() {
    awk '/^  -/ { n = split($1, names, ","); for (i = 1; i <= n; i++) print names[i] }'
}

# "FLAG VALUE" for every value a help text lists for a flag: a choice set ("MODE:{a,b}") or a
# closing list of names in parentheses ("repeatable (title, description, ...)").
flag_values_of_help() {
    awk '/^  --/ {
        if (match($2, /:\{[^}]*\}/)) {
            n = split(substr($2, RSTART + 2, RLENGTH - 3), values, ",")
            for (i = 1; i <= n; i++) print $1, values[i]
        }
        if (match($0, /\(([a-z0-9-]+, )+[a-z0-9-]+\)$/)) {
            n = split(substr($0, RSTART + 1, RLENGTH - 2), values, ", ")
            for (i = 1; i <= n; i++) print $1, values[i]
        }
    }'
}

# The words the bash completion offers for the last word of LINE ("velmora-cli WORD...").
bash_offers() {
    local -a words
    read -ra words <<<"$1"
    [[ $1 == *' ' ]] && words+=("")
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _velmora_cli
        printf "%s\n" "${COMPREPLY[@]}"' _ "$bash_completion" "${words[@]}"
}

# What must hold: WORD is in the manual page as MAN_FORM, and both completions offer it at
# the end of LINE.
words=() man_forms=() lines=()
expect() {
    words+=("$1") man_forms+=("$2") lines+=("$3")
}

commands=$(commands_of_help)
[ -n "$commands" ] || fail "no commands found in velmora-cli --help"
for command in $commands; do
    expect "$command" "Cm $command" "velmora-cli "
done
for flag in $("$cli" --help | flags_of_help); do
    expect "$flag" "Fl ${flag#-}" "velmora-cli -"
done
for command in $commands; do
    help=$("$cli" "$command" --help)
    for flag in $(flags_of_help <<<"$help"); do
        expect "$flag" "Fl ${flag#-}" "velmora-cli $command -"
    done
    while read -r flag value; do
        expect "$value" "Cm $value" "velmora-cli $command $flag "
    done < <(flag_values_of_help <<<"$help")
done

declare -A bash_offered zsh_offered
while IFS= read -r line; do
    bash_offered[$line]=$(bash_offers "$line")
done < <(printf '%s\n' "${lines[@]}" | sort -u)
if $have_zsh; then
    while IFS=$'\t' read -r line match; do
        zsh_offered[$line]+="$match"$'\n'
    done < <(printf '%s\n' "${lines[@]}" | sort -u |
        zsh "$here/zsh_offers.zsh" "$zsh_completion_dir")
fi

for i in "${!words[@]}"; do
    word=${words[i]} line=${lines[i]}
    grep -Eq "(^|[[:space:].])${man_forms[i]}([[:space:]]|\$)" "$man_page" ||
        fail "'$word' is not in the manual page (as '${man_forms[i]}')"
    grep -qxF -- "$word" <<<"${bash_offered[$line]}" ||
        fail "bash does not offer '$word' after '$line'"
    if $have_zsh; then
        grep -qxF -- "$word" <<<"${zsh_offered[$line]:-}" ||
            fail "zsh does not offer '$word' after '$line'"
    fi
done

$have_zsh || echo "zsh is not installed: its completion was not checked"
echo "${#words[@]} commands, flags and values checked, $failures missing"
[ "$failures" -eq 0 ]
