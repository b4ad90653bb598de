#!/usr/bin/env bash
# Usage: cli_exit_codes.sh PICTORRA
# --help and --version answer on standard output with success; a wrong line
# gets, on standard error, a line that names what is wrong, then the usage,
# and exit code 2.
set -uo pipefail
exe="$1"
fail() { echo "FAIL: $*" >&2; exit 1; }

out="$("$exe" --help 2>/dev/null)"; code=$?
[ $code -eq 0 ] && [[ "$out" == 用法:* ]] || fail "--help: exit $code, output '$out'"
out="$("$exe" --version 2>/dev/null)"; code=$?
[ $code -eq 0 ] && [[ "$out" =~ ^pictorra\ [0-9] ]] || fail "--version: exit $code, output '$out'"
for line in "--fast:--fast" "--pick:--pick" "--batch list.txt:list.txt" "--batch l --save /nonexistent/x --delay -1:--delay -1" \
            "--collect:--collect" "--pages 5:--pages 5" "--collect example.com --pages 0:--pages 0" \
            "--collect /tmp/none.html:/tmp/none.html" "--collect example.com --save /nonexistent/x:--save"; do
    args="${line%%:*}"; named="${line#*:}"
    out="$("$exe" $args 2>/dev/null)"; code=$?
    err="$("$exe" $args 2>&1 >/dev/null)"
    first="${err%%$'\n'*}"; rest="${err#*$'\n'}"
    [ $code -eq 2 ] && [ -z "$out" ] && [[ "$first" == "pictorra: "*"$named"* ]] && [[ "$rest" == 用法:* ]] \
        || fail "$args: exit $code, stdout '$out', stderr '$err'"
done
[ ! -e /nonexistent/x ] || fail "a refused line made its save folder"
echo PASS
