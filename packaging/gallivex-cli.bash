# Bash completion for gallivex-cli and morlune. The commands and options are read from the
# programs' own --help, so they never fall behind the programs.

_gallivex_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local program=${COMP_WORDS[0]}
    COMPREPLY=()
    if (( COMP_CWORD == 1 )); then
        local commands
        commands=$("$program" --help 2>/dev/null | sed -n 's/^  \([a-z][a-z]*\) .*/\1/p')
        mapfile -t COMPREPLY < <(compgen -W "$commands help --help" -- "$cur")
        return
    fi
    case $prev in
        --dest|--plugins)
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            return ;;
        --password-file)
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return ;;
        --theme|--set|--user|--password-env|--trust-key)
            return ;;
    esac
    local command=${COMP_WORDS[1]}
    if [[ $command == help || $command == --help ]]; then
        (( COMP_CWORD == 2 )) && mapfile -t COMPREPLY < <(compgen -W \
            "$("$program" --help 2>/dev/null | sed -n 's/^  \([a-z][a-z]*\) .*/\1/p')" -- "$cur")
        return
    fi
    if [[ $cur == -* ]]; then
        local options
        options=$("$program" "$command" --help 2>/dev/null | grep -o -- '--[a-z][a-z-]*' | sort -u)
        mapfile -t COMPREPLY < <(compgen -W "$options --help" -- "$cur")
        return
    fi
    case $command in
        new|set|generate)
            if (( COMP_CWORD == 2 )) || [[ $command != new ]]; then
                # The album project: .gvp files, and folders to find them in.
                mapfile -t COMPREPLY < <(compgen -d -- "$cur"; compgen -f -X '!*.gvp' -- "$cur")
            else
                mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            fi ;;
        info)
            mapfile -t COMPREPLY < <(compgen -f -- "$cur") ;;
        publish)
            # The album folder; the address that follows is the user's to type.
            (( COMP_CWORD == 2 )) && mapfile -t COMPREPLY < <(compgen -d -- "$cur") ;;
    esac
}
complete -o filenames -F _gallivex_cli gallivex-cli

_morlune()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    COMPREPLY=()
    if [[ $prev == --plugins ]]; then
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
    elif [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "--plugins --help" -- "$cur")
    else
        mapfile -t COMPREPLY < <(compgen -d -- "$cur"; compgen -f -X '!*.thm' -- "$cur"; compgen -f -X '!*.td' -- "$cur")
    fi
}
complete -o filenames -F _morlune morlune
