# bash completion for velmora-cli
# Self-contained: works without the bash-completion package's helpers. File names are read from
# compgen one line at a time, so a name with blanks stays one word.

_velmora_cli_settings="--case --min-occurrences --max-occurrences --one-in-every --min-keywords
    --max-keywords --spam-limit --no-compression --defaults"
_velmora_cli_page_checks="--title-chars --description-chars --title-px --description-px --focus
    --skip-check"
_velmora_cli_config="--config --no-config"
_velmora_cli_project="$_velmora_cli_config --exclude --baseline"
_velmora_cli_output="--min-level -q --quiet --color --base-dir"
_velmora_cli_check_ids="title description indexable canonical language charset viewport social
    hreflang structured-data h1 headings images links content keyphrase head-agreement
    duplicate-title duplicate-description broken-links broken-fragments canonical-target
    hreflang-return orphan sitemap robots"
_velmora_cli_site="--root --base-url --sitemap"
_velmora_cli_fixable_ids="charset viewport language canonical social description"

# The flags of one command, -h and --help included.
_velmora_cli_flags() {
    case $1 in
    analyze)
        echo "-h --help --format --json --fail-under --min-score --fail-on -j --jobs $_velmora_cli_output" \
            "$_velmora_cli_project $_velmora_cli_settings $_velmora_cli_page_checks" \
            "$_velmora_cli_site"
        ;;
    report)
        echo "-h --help -o --output -j --jobs $_velmora_cli_project $_velmora_cli_settings" \
            "$_velmora_cli_page_checks $_velmora_cli_site"
        ;;
    duplicates)
        echo "-h --help"
        ;;
    site)
        echo "-h --help --format --json --fail-on --defaults $_velmora_cli_config --baseline" \
            "$_velmora_cli_output $_velmora_cli_page_checks $_velmora_cli_site"
        ;;
    fix)
        echo "-h --help --only --dry-run --stdout --lang --og-image -j --jobs $_velmora_cli_config" \
            "--exclude $_velmora_cli_settings $_velmora_cli_page_checks --root --base-url"
        ;;
    set-keywords)
        echo "-h --help --keep-order --stdout $_velmora_cli_settings"
        ;;
    set-title | set-description | auto-keywords | compress)
        echo "-h --help --stdout $_velmora_cli_settings"
        ;;
    esac
}

# Completes the value of the flag before the cursor; fails when that flag takes no value.
_velmora_cli_flag_value() {
    local flag=$1 cur=$2
    case $flag in
    --case) COMPREPLY=($(compgen -W "sensitive mixed lower" -- "$cur")) ;;
    --format) COMPREPLY=($(compgen -W "text json sarif github compact" -- "$cur")) ;;
    --min-level) COMPREPLY=($(compgen -W "problem improve info" -- "$cur")) ;;
    --color) COMPREPLY=($(compgen -W "auto always never" -- "$cur")) ;;
    --base-dir)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur"))
        ;;
    --fail-on) COMPREPLY=($(compgen -W "problem improve" -- "$cur")) ;;
    --skip-check) COMPREPLY=($(compgen -W "$_velmora_cli_check_ids" -- "$cur")) ;;
    --only) COMPREPLY=($(compgen -W "$_velmora_cli_fixable_ids" -- "$cur")) ;;
    -o | --output | --sitemap) _velmora_cli_files "$cur" ;;
    --root)
        compopt -o filenames 2>/dev/null
        COMPREPLY=()
        _velmora_cli_add_lines < <(compgen -d -- "$(_velmora_cli_dequote "$cur")")
        ;;
    --config)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.toml' -- "$cur"))
        ;;
    --baseline)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.jsonl' -- "$cur"))
        ;;
    --fail-under | --min-score | -j | --jobs | --min-occurrences | --max-occurrences | --one-in-every | \
        --min-keywords | --max-keywords | --spam-limit | --title-chars | --description-chars | \
        --title-px | --description-px | --focus | --base-url | --exclude | --lang | --og-image)
        COMPREPLY=()
        ;;
    *) return 1 ;;
    esac
}

# Adds each line of standard input to COMPREPLY as one word, blanks and all.
_velmora_cli_add_lines() {
    local line
    while IFS= read -r line; do
        COMPREPLY+=("$line")
    done
}

# The word being completed as the file name it stands for: without a leading quote and with
# backslash escapes undone.
_velmora_cli_dequote() {
    local word=$1 name="" i
    case $word in
    \'* | \"*) word=${word:1} ;;
    esac
    for ((i = 0; i < ${#word}; i++)); do
        [[ ${word:i:1} == \\ ]] && ((i + 1 < ${#word})) && i=$((i + 1))
        name+=${word:i:1}
    done
    printf '%s' "$name"
}

# Every folder, and the files whose extension is one of EXTENSION..., in any case; with no
# extension, every file.
_velmora_cli_files() {
    local cur
    cur=$(_velmora_cli_dequote "$1")
    shift
    compopt -o filenames 2>/dev/null
    COMPREPLY=()
    if [[ $# -eq 0 ]]; then
        _velmora_cli_add_lines < <(compgen -f -- "$cur")
        return
    fi
    _velmora_cli_add_lines < <(compgen -d -- "$cur")
    local file extension
    while IFS= read -r file; do
        [[ -d $file ]] && continue
        for extension in "$@"; do
            if [[ ${file,,} == *."$extension" ]]; then
                COMPREPLY+=("$file")
                break
            fi
        done
    done < <(compgen -f -- "$cur")
}

_velmora_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    local command="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        analyze | report | duplicates | site | fix | set-title | set-description | set-keywords | \
            auto-keywords | compress)
            command=${COMP_WORDS[i]}
            break
            ;;
        esac
    done

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "analyze report duplicates site fix set-title set-description set-keywords
            auto-keywords compress -h --help --version" -- "$cur"))
        return
    fi
    _velmora_cli_flag_value "$prev" "$cur" && return
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_velmora_cli_flags "$command")" -- "$cur"))
        return
    fi
    case $command in
    analyze | report | fix) _velmora_cli_files "$cur" htm html php ;;
    duplicates | site) _velmora_cli_files "$cur" jsonl ;;
    *) _velmora_cli_files "$cur" ;;
    esac
}

complete -F _velmora_cli velmora-cli
