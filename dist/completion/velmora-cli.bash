# bash completion for velmora-cli
# Self-contained: works without the bash-completion package's helpers.

_velmora_cli_settings="--case --min-occurrences --max-occurrences --one-in-every --min-keywords
    --max-keywords --spam-limit --no-compression --defaults"
_velmora_cli_page_checks="--title-chars --description-chars --title-px --description-px --focus
    --skip-check"
_velmora_cli_check_ids="title description indexable canonical language charset viewport social
    hreflang structured-data h1 headings images links content keyphrase duplicate-title
    duplicate-description broken-links broken-fragments canonical-target hreflang-return orphan
    sitemap robots"
_velmora_cli_site="--root --base-url --sitemap"

# The flags of one command, -h and --help included.
_velmora_cli_flags() {
    case $1 in
    analyze)
        echo "-h --help --format --json --fail-under --fail-on -j --jobs" \
            "$_velmora_cli_settings $_velmora_cli_page_checks $_velmora_cli_site"
        ;;
    report)
        echo "-h --help -o --output -j --jobs $_velmora_cli_settings $_velmora_cli_page_checks" \
            "$_velmora_cli_site"
        ;;
    duplicates)
        echo "-h --help"
        ;;
    site)
        echo "-h --help --format --json --fail-on --defaults $_velmora_cli_page_checks" \
            "$_velmora_cli_site"
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
    --format) COMPREPLY=($(compgen -W "text json sarif github" -- "$cur")) ;;
    --fail-on) COMPREPLY=($(compgen -W "problem improve" -- "$cur")) ;;
    --skip-check) COMPREPLY=($(compgen -W "$_velmora_cli_check_ids" -- "$cur")) ;;
    -o | --output | --sitemap)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
        ;;
    --root)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur"))
        ;;
    --fail-under | -j | --jobs | --min-occurrences | --max-occurrences | --one-in-every | \
        --min-keywords | --max-keywords | --spam-limit | --title-chars | --description-chars | \
        --title-px | --description-px | --focus | --base-url)
        COMPREPLY=()
        ;;
    *) return 1 ;;
    esac
}

# Pages and folders: the files analyze and report look for, and every folder.
_velmora_cli_pages() {
    local cur=$1
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -d -- "$cur"))
    local extension
    for extension in htm html php; do
        COMPREPLY+=($(compgen -f -X "!*.$extension" -- "$cur"))
    done
}

_velmora_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    local command="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        analyze | report | duplicates | site | set-title | set-description | set-keywords | auto-keywords | \
            compress)
            command=${COMP_WORDS[i]}
            break
            ;;
        esac
    done

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "analyze report duplicates site set-title set-description set-keywords
            auto-keywords compress -h --help --version" -- "$cur"))
        return
    fi
    _velmora_cli_flag_value "$prev" "$cur" && return
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_velmora_cli_flags "$command")" -- "$cur"))
        return
    fi
    case $command in
    analyze | report) _velmora_cli_pages "$cur" ;;
    duplicates | site)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.jsonl' -- "$cur"))
        ;;
    *)
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
        ;;
    esac
}

complete -F _velmora_cli velmora-cli
