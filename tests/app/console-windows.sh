#!/usr/bin/env bash
# A failure message of orvologger.exe on a console and redirected. Wine gives a program a console
# when it runs on a terminal, so the console case runs under a pseudo-terminal (script), whose
# output is the terminal's UTF-8; redirected, the message is the program's UTF-8 bytes as they
# are.   usage: console-windows.sh <wine64> <orvologger.exe>
set -euo pipefail
wine="$1"
program="$2"
export WINEDEBUG=-all LC_ALL=C.UTF-8

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
expected='ファイル 日本語.txt は開けません'

status=0
timeout 60 "$wine" "$program" -f 日本語.txt >redirected.out 2>/dev/null || status=$?
[ "$status" -eq 9 ] || { echo "redirected: exit code $status, expected 9"; exit 1; }
printf '%s\r\n' "$expected" >expected.out
cmp expected.out redirected.out || { echo "redirected: not the UTF-8 bytes"; od -c redirected.out; exit 1; }

status=0
timeout 60 script -qec "'$wine' '$program' -f 日本語.txt" /dev/null </dev/null >console.out 2>&1 || status=$?
[ "$status" -eq 9 ] || { echo "console: exit code $status, expected 9"; od -c console.out; exit 1; }
grep -qF "$expected" console.out || { echo "console: message not shown"; od -c console.out; exit 1; }
echo "console and redirected output agree"
