#!/usr/bin/env bash
# orvologger.exe on a console and redirected. Wine gives a program a console when it runs on a
# terminal, so the console cases run under a pseudo-terminal (script), whose bytes are the
# terminal's UTF-8: a failure message, and a line typed in interactive mode that is sent and
# echoed. Redirected, the failure message is the program's UTF-8 bytes as they are.
#   usage: console-windows.sh <wine64> <orvologger.exe>
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
# Interactive on the console: each keystroke string is typed once the program has asked for a
# line. The datagram goes to the discard port of loopback; the echo (-s) shows what was read.
mkfifo typed
exec 3<>typed
timeout 60 script -qec "'$wine' '$program' -h 127.0.0.1:9 -s -t t" /dev/null <typed \
  >interactive.out 2>&1 &
session=$!
wait_for() {
  for _ in $(seq 1 300); do
    grep -qF "$1" interactive.out 2>/dev/null && return 0
    sleep 0.1
  done
  echo "interactive: no '$1' on the console"; od -c interactive.out; exit 1
}
wait_for "to exit, hit return"
printf '日本語 typed\r' >&3
wait_for "OK. message sent."
printf '\r' >&3
status=0
wait "$session" || status=$?
exec 3>&-
[ "$status" -eq 0 ] || { echo "interactive: exit code $status, expected 0"; exit 1; }
grep -qF " t:日本語 typed" interactive.out ||
  { echo "interactive: typed line not echoed as sent"; od -c interactive.out; exit 1; }
echo "console and redirected output agree; a typed line is read and echoed on the console"
