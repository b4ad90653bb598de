#!/usr/bin/env bash
# Usage: check_manual.sh PICTORRA MANUAL_PAGE
# The manual page documents exactly the options --help lists: each option of
# --help's 选项 list has a .TP entry under OPTIONS, and no entry names an
# option the program has lost. The page also renders without a warning.
set -euo pipefail
exe="$1"; page="$2"
fail() { echo "FAIL: $*" >&2; exit 1; }

# --help: the option column of each row after "选项:", up to the two spaces
# before its description.
help="$("$exe" --help)"
from_help="$(sed -n '/^选项:/,$p' <<<"$help" | sed -n 's/^  \(-[^ ].*\)$/\1/p' | sed 's/  .*//' \
    | grep -oE '(^|[ ,])--?[a-z][a-z0-9-]*' | tr -d ' ,' | sort -u)"
[ -n "$from_help" ] || fail "--help lists no options"
# The page: the tag line after each .TP of the OPTIONS section.
from_page="$(sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$page" | sed -n '/^\.TP/{n;p}' \
    | grep -oE '\\-(\\-)?[a-z][a-z0-9-]*' | sed 's/\\//g' | sort -u)"
missing="$(comm -23 <(echo "$from_help") <(echo "$from_page"))"
extra="$(comm -13 <(echo "$from_help") <(echo "$from_page"))"
[ -z "$missing" ] || fail "the manual page $page has no entry for: $(echo $missing) (add a .TP under OPTIONS)"
[ -z "$extra" ] || fail "the manual page $page names options --help does not list: $(echo $extra)"

if command -v groff >/dev/null; then
    warnings="$(LC_ALL=C.UTF-8 groff -man -ww -z -k -Tutf8 "$page" 2>&1)" || fail "groff: $warnings"
    [ -z "$warnings" ] || fail "groff warns: $warnings"
fi
echo "PASS: the manual page documents all $(wc -l <<<"$from_help") options of --help"
