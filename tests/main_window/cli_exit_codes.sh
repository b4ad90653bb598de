#!/usr/bin/env bash
# Usage: cli_exit_codes.sh PICTORRA
# --help and --version answer on standard output with success; a wrong line
# gets the usage on standard error and exit code 2.
set -uo pipefail
exe="$1"
fail() { echo "FAIL: $*" >&2; exit 1; }

out="$("$exe" --help 2>/dev/null)"; code=$?
[ $code -eq 0 ] && [[ "$out" == 用法:* ]] || fail "--help: exit $code, output '$out'"
out="$("$exe" --version 2>/dev/null)"; code=$?
[ $code -eq 0 ] && [[ "$out" =~ ^pictorra\ [0-9] ]] || fail "--version: exit $code, output '$out'"
for line in "--fast" "--pick" "--batch list.txt"; do
    out="$("$exe" $line 2>/dev/null)"; code=$?
    err="$("$exe" $line 2>&1 >/dev/null)"
    [ $code -eq 2 ] && [ -z "$out" ] && [[ "$err" == 用法:* ]] || fail "$line: exit $code, stdout '$out', stderr '$err'"
done
echo PASS
