# bash completion for parvane-cli: commands, options and file names.
# Works with or without the bash-completion package (which, when present, gives
# nicer file name completion through _filedir).

# Appends compgen's words (one a line, so names with blanks stay whole).
_parvane_cli_add()
{
    local word
    while IFS= read -r word; do
        COMPREPLY+=("$word")
    done < <(compgen "$@")
}

_parvane_cli_files()
{
    if declare -F _filedir >/dev/null; then
        _filedir
    else
        _parvane_cli_add -f -- "$1"
        compopt -o filenames 2>/dev/null
    fi
}

_parvane_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    local commands="tree records import copy diff get set dump load"
    local codepages="windows-1250 windows-1251 windows-1252 windows-1253 windows-1254
        windows-1255 windows-1256 windows-1257 windows-1258 koi8-r koi8-u ibm866
        iso-8859-1 iso-8859-2 iso-8859-5"
    COMPREPLY=()

    # --codepage NAME (or --codepage=NAME) may come before the command.
    # Bash splits "--codepage=NAME" at "=" into three words.
    local i=1 command=""
    if [[ ${COMP_WORDS[1]} == --codepage && ${COMP_WORDS[2]} == = ]]; then
        if ((COMP_CWORD <= 3)); then
            [[ $cur == = ]] && cur=""
            _parvane_cli_add -W "$codepages" -- "$cur"
            return
        fi
        i=4
    elif [[ ${COMP_WORDS[i]} == --codepage=* ]]; then
        ((i++))
    elif [[ ${COMP_WORDS[i]} == --codepage ]]; then
        ((i += 2))
    fi
    if ((COMP_CWORD == 2)) && [[ $prev == --codepage ]]; then
        _parvane_cli_add -W "$codepages" -- "$cur"
        return
    fi
    if [[ $cur == --codepage=* ]] && ((COMP_CWORD == 1)); then
        _parvane_cli_add -P --codepage= -W "$codepages" -- "${cur#--codepage=}"
        return
    fi
    if ((COMP_CWORD <= i)); then
        if ((COMP_CWORD == 1)); then
            _parvane_cli_add -W "$commands help --codepage --help -h --version" -- "$cur"
        else
            _parvane_cli_add -W "$commands help --help -h --version" -- "$cur"
        fi
        return
    fi
    command=${COMP_WORDS[i]}

    # The words after the command so far, without the one being completed.
    local -a args=("${COMP_WORDS[@]:i+1:COMP_CWORD-i-1}")
    local n=${#args[@]}
    # COMMAND --help prints that command's usage.
    ((n == 0)) && [[ $cur == -* ]] && _parvane_cli_add -W "--help" -- "$cur"

    case $command in
    tree | records)
        ((n == 0)) && _parvane_cli_files "$cur"
        ;;
    copy)
        ((n < 2)) && _parvane_cli_files "$cur"
        ;;
    import | diff)
        if [[ $command == import && $prev == -o ]] || [[ $prev == --base ]]; then
            _parvane_cli_files "$cur"
        elif [[ $cur == -* ]]; then
            if [[ $command == import ]]; then
                _parvane_cli_add -W "-o --records --base" -- "$cur"
            else
                _parvane_cli_add -W "--json --base" -- "$cur"
            fi
        else
            _parvane_cli_files "$cur"
        fi
        ;;
    get)
        ((n == 0)) && _parvane_cli_files "$cur"
        ;;
    dump | load)
        if [[ $prev == --base || $prev == -o ]]; then
            _parvane_cli_files "$cur"
        elif [[ $cur == -* ]]; then
            if [[ $command == dump ]]; then
                _parvane_cli_add -W "--base --passwords" -- "$cur"
            else
                _parvane_cli_add -W "-o --skip-missing" -- "$cur"
            fi
        else
            _parvane_cli_files "$cur"
        fi
        ;;
    set)
        # FILE, then PATH VALUE pairs; "-o OUT" where a path would begin.
        if ((n == 0)); then
            _parvane_cli_files "$cur"
        elif [[ $prev == -o ]] && (((n - 1) % 2 == 1)); then
            _parvane_cli_files "$cur"
        elif (((n - 1) % 2 == 0)) && [[ $cur == -* ]]; then
            _parvane_cli_add -W "-o" -- "$cur"
        fi
        ;;
    esac
}

complete -F _parvane_cli parvane-cli
