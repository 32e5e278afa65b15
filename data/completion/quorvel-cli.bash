# bash completion for quorvel-cli                          -*- shell-script -*-
# Self-contained (no helpers of the bash-completion package), so it also works
# when sourced by hand. The test in tests/install checks that it offers every
# option, command and value "quorvel-cli --help" lists.

_quorvel_cli_files()  # [GLOB]: file names, or only directories and GLOB matches
{
    local IFS=$'\n'
    compopt -o filenames 2>/dev/null
    if [[ -n $1 ]]; then
        COMPREPLY+=($(compgen -d -- "$cur") $(compgen -f -X "!$1" -- "$cur"))
    else
        COMPREPLY+=($(compgen -f -- "$cur"))
    fi
}

_quorvel_cli_once()  # WORDS_SO_FAR... -- OPTION...: the options not yet given
{
    local word option given=() offered=()
    while [[ $1 != -- ]]; do given+=("$1"); shift; done
    shift
    for option in "$@"; do
        for word in "${given[@]}"; do
            [[ $word == "$option" ]] && continue 2
        done
        offered+=("$option")
    done
    COMPREPLY=($(compgen -W "${offered[*]}" -- "$cur"))
}

_quorvel_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    COMPREPLY=()

    # The global options may stand before or after the command word; find it.
    local i command= at=0
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            --port | --timeout) ((i++)) ;;
            -*) ;;
            *) command=${COMP_WORDS[i]} at=$i; break ;;
        esac
    done

    case $prev in
        --port)
            if [[ -z $cur ]]; then
                COMPREPLY=($(compgen -G '/dev/serial/by-id/*') $(compgen -G '/dev/ttyUSB*') \
                           $(compgen -G '/dev/ttyACM*') $(compgen -G '/dev/ttyS*'))
            else
                _quorvel_cli_files
            fi
            return ;;
        --timeout) return ;;
    esac

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--port --timeout --help --version' -- "$cur"))
        else
            COMPREPLY=($(compgen -W 'ports read-raw read-all read-page0 setup set-clock set-description downloads open' -- "$cur"))
        fi
        return
    fi

    local n=$((COMP_CWORD - at))  # 1 for the command's first argument
    case $command in
        ports)
            if [[ $prev == --root ]]; then
                compopt -o filenames 2>/dev/null
                COMPREPLY=($(compgen -d -- "$cur"))
            elif ((n == 1)); then
                COMPREPLY=($(compgen -W '--root' -- "$cur"))
            fi ;;
        read-raw)
            ((n == 1)) && COMPREPLY=($(compgen -W 'page0 page2 serial alarms histogram log' -- "$cur")) ;;
        read-all)
            case $prev in
                --save) _quorvel_cli_files ;;
                --csv) _quorvel_cli_files '*.csv' ;;
                *) _quorvel_cli_once "${COMP_WORDS[@]:at+1:n-1}" -- \
                       --save --no-archive --csv --utc --excel --recorded-only --fahrenheit ;;
            esac ;;
        read-page0)
            _quorvel_cli_once "${COMP_WORDS[@]:at+1:n-1}" -- --fahrenheit ;;
        setup)
            case $prev in
                --interval | --delay | --low | --high | --description) return ;;
            esac
            # Each option once; --immediate and --button exclude each other.
            local option word offered=()
            for option in --interval --delay --low --high --immediate --button --description; do
                for word in "${COMP_WORDS[@]:at+1:n-1}"; do
                    [[ $word == "$option" ]] && continue 2
                    [[ $option == --immediate && $word == --button ]] && continue 2
                    [[ $option == --button && $word == --immediate ]] && continue 2
                done
                offered+=("$option")
            done
            COMPREPLY=($(compgen -W "${offered[*]}" -- "$cur")) ;;
        open)
            local action=${COMP_WORDS[at+2]}
            if ((n == 1)); then
                _quorvel_cli_files '*.dat'
            elif ((n == 2)); then
                COMPREPLY=($(compgen -W 'show save export print' -- "$cur"))
            else
                case $action in
                    show)
                        if ((n == 3)); then
                            COMPREPLY=($(compgen -W 'page0 page2 serial alarms histogram temperature stats' -- "$cur"))
                        else
                            _quorvel_cli_once "${COMP_WORDS[@]:at+4:n-4}" -- --fahrenheit
                        fi ;;
                    save)
                        ((n == 3)) && _quorvel_cli_files ;;
                    export)
                        case $prev in
                            --chart) COMPREPLY=($(compgen -W 'temperature histogram' -- "$cur")) ;;
                            --png) _quorvel_cli_files '*.png' ;;
                            --svg) _quorvel_cli_files '*.svg' ;;
                            --pdf) _quorvel_cli_files '*.pdf' ;;
                            --size) COMPREPLY=($(compgen -W '1024x768' -- "$cur")) ;;
                            --scale) COMPREPLY=($(compgen -W '1 2 3 4' -- "$cur")) ;;
                            --csv) _quorvel_cli_files '*.csv' ;;
                            --template) _quorvel_cli_files '*.json' ;;
                            *) _quorvel_cli_once "${COMP_WORDS[@]:at+3:n-3}" -- --chart --png --svg --pdf \
                                   --size --scale --antialias --template --csv --utc --excel --recorded-only \
                                   --fahrenheit ;;
                        esac ;;
                    print)
                        if [[ $prev == --printer ]]; then
                            COMPREPLY=($(compgen -W "$(lpstat -e 2>/dev/null)" -- "$cur"))
                        elif [[ $prev == --pdf ]]; then
                            _quorvel_cli_files '*.pdf'
                        elif [[ $prev == --template ]]; then
                            _quorvel_cli_files '*.json'
                        else
                            _quorvel_cli_once "${COMP_WORDS[@]:at+3:n-3}" -- --printer --pdf --template --fahrenheit
                        fi ;;
                esac
            fi ;;
    esac
}
complete -F _quorvel_cli quorvel-cli
