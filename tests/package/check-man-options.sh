#!/bin/bash
# check-man-options.sh PROGRAM PAGE: the options that PROGRAM --help names and those of its manual page
# (source, roff) are the same set, so neither can gain or lose one alone.
set -eu
program=$1
page=$2
options() { grep -oE -- '--[a-z][a-z-]*[a-z]' | sort -u; }
help=$("$program" --help | options)
manual=$(sed 's/\\-/-/g' "$page" | options)
if [ "$help" != "$manual" ]; then
    echo "$program --help and $page name different options (< help only, > manual only):"
    diff <(echo "$help") <(echo "$manual") | grep '^[<>]' || true
    exit 1
fi
echo "$(echo "$help" | wc -l) options agree between $program --help and $page"
