#!/usr/bin/env bash
# The bash completion offers the commands and options the program's own help names, the
# settings keys and the built-in action labels.
#   bash-completion.sh GLIMRA COMPLETION_SCRIPT
set -uo pipefail
glimra=$1
# shellcheck source=/dev/null
source "$2"

failed=0
# expect EXPECTED WORD...: completing the last WORD after "glimra" offers EXPECTED (in the C
# locale's order, separated by spaces).
expect() {
    local expected=$1 offered
    shift
    COMP_WORDS=(glimra "$@")
    COMP_CWORD=$#
    _glimra
    offered=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd ' ')
    if [ "$offered" != "$expected" ]; then
        echo "FAILED: 'glimra $*' offers '$offered', not '$expected'"
        failed=1
    fi
}
sorted() { tr ' ' '\n' | grep -v '^$' | LC_ALL=C sort -u | paste -sd ' '; }

commands=$(env -u DISPLAY "$glimra" --help | sed -nE 's/^  ([a-z]+)( .*)?$/\1/p' | sorted)
expect "$(echo "$commands --help --version --verbose" | sorted)" ""
for command in $commands; do
    expect "$(env -u DISPLAY "$glimra" "$command" --help | grep -oE -- '--[a-z-]+' | sorted)" "$command" --
done

expect "app_tm_seed capture_limit_mib editor_command hide_after_action learn_action_order popup_close_to_mouse regexp_matchers search_exclusion_filter shortcut_guess_clipboard shortcut_guess_selection user_context_configuration web_search_url" \
    defaults write ""
expect "false true" defaults write hide_after_action ""
expect "false true" defaults write learn_action_order ""
expect "shortcut_guess_clipboard shortcut_guess_selection" defaults read sh
expect "open open\\ at\\ line" match --json --run o
expect "'open at line'" match --run "'open a"
expect "copy open open\\ at\\ line paste reveal run search spotlight" match --text x --run ""
expect "CTX_DIR=" match --context CTX_D
expect "handler shell" plugins new action Notes --kind ""
expect "handler perl shell" plugins new matcher Notes --kind ""
expect "action matcher" plugins new ""
expect "--help --json" plugins list --
expect "match mreg multiple split splt xreg" regexp ""
expect "context general plugins rules search" preferences ""
expect "install remove" shortcut ""
exit "$failed"
