#!/usr/bin/env bash
# The manual page formats without a warning and names every command and option the
# program's own help names.
#   manual-page.sh GLIMRA MANUAL_PAGE
set -euo pipefail
glimra=$1
page=$2

if ! command -v groff >/dev/null; then
    echo "skipped: groff is not installed (groff-base)"
    exit 77
fi
warnings=$(groff -ww -man -z "$page" 2>&1)
if [ -n "$warnings" ]; then
    echo "FAILED: groff warns:"
    echo "$warnings"
    exit 1
fi

missing=0
# The overview's rows begin with two spaces and the command's name.
commands=$(env -u DISPLAY "$glimra" --help | sed -nE 's/^  ([a-z]+)( .*)?$/\1/p' | sort -u)
for command in $commands; do
    # Each command is an entry of the COMMANDS section: ".TP", then its name in bold.
    if ! grep -A1 -x '\.TP' "$page" | grep -qE "^\.BR? \"?$command( |\"|$)"; then
        echo "FAILED: the manual page has no entry for '$command'"
        missing=1
    fi
    for option in $(env -u DISPLAY "$glimra" "$command" --help | grep -oE -- '--[a-z-]+' | sort -u); do
        if ! grep -qF -- "${option//-/\\-}" "$page"; then
            echo "FAILED: the manual page does not name $command's option $option"
            missing=1
        fi
    done
done
exit "$missing"
