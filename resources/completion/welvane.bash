# bash completion for welvane
_welvane()
{
    local cur prev
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    local pages="overview worktime files connections routes memory processes details log about alarm"

    # The picture file follows the page of --screenshot.
    if [[ $COMP_CWORD -ge 3 && ${COMP_WORDS[COMP_CWORD-2]} == --screenshot ]]; then
        COMPREPLY=($(compgen -f -X '!*.png' -- "$cur") $(compgen -d -- "$cur"))
        return
    fi
    case $prev in
        --screenshot|--dump)
            COMPREPLY=($(compgen -W "$pages" -- "$cur"))
            return ;;
        --layout)
            COMPREPLY=($(compgen -W "small large" -- "$cur"))
            return ;;
        -platform)
            COMPREPLY=($(compgen -W "xcb wayland offscreen minimal" -- "$cur"))
            return ;;
        --serve-metrics)
            return ;;
    esac
    COMPREPLY=($(compgen -W "--layout --demo --screenshot --dump --report --serve-metrics
        --metrics-identity --verbose --help --version -platform" -- "$cur"))
}
complete -F _welvane welvane
