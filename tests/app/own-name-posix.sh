#!/usr/bin/env bash
# orvologger on a machine whose own name resolves nowhere, in a UTS namespace of its own: -help
# works, and a message carries the first address of an interface that is up and not loopback
# (127.0.0.1 when there is none), to a dotted host and to the empty host. The name holds an
# empty label, which the resolver refuses before it would ask any name server.
# Where strace is installed, the destination of each send is checked too: "-h ::1" names the
# empty host before its first colon, the local host, and keeps the port; the machine's own name
# is the local host as well, not loopback.
#   usage: own-name-posix.sh [emulator and its options] <orvologger>
#                                             exit 77: skipped (needs root, unshare and ip)
set -euo pipefail
program=("$@")
name='orvo..nowhere'

[ "$(id -u)" -eq 0 ] || { echo "skipped: a UTS namespace of its own needs root"; exit 77; }
for tool in unshare ip; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

loopbacks=$(ip -o link show | awk -F': ' '$3 ~ /[<,]LOOPBACK[,>]/ { sub(/@.*/, "", $2); print $2 }')
expected=$(ip -o -4 addr show up | awk -v lo="$loopbacks" '
  BEGIN { n = split(lo, names, "\n"); for (i = 1; i <= n; i++) loopback[names[i]] = 1 }
  !($2 in loopback) { sub(/\/.*/, "", $4); print $4; exit }')
expected=${expected:-127.0.0.1}

# Runs the program under the host name "$name" in a fresh UTS namespace.
run_nameless() {
  unshare --uts bash -c 'printf %s "$1" >/proc/sys/kernel/hostname && shift && exec "$@"' \
    _ "$name" "$@"
}

[ "$(run_nameless hostname)" = "$name" ] || { echo "the namespace's host name was not set"; exit 1; }
if run_nameless getent ahostsv4 "$name" >/dev/null; then
  echo "'$name' resolves here; the test needs a name that does not"
  exit 1
fi

status=0
help=$(run_nameless "${program[@]}" -help) || status=$?
[ "$status" -eq 0 ] || { echo "-help: exit code $status, expected 0: $help"; exit 1; }
grep -q '^orvologger ver\.' <<<"$help" || { echo "-help: no banner: $help"; exit 1; }

# The datagrams go to the discard port, of loopback and of the local host's first address; the
# echo (-s) shows what was sent.
for host in 127.0.0.1 ''; do
  status=0
  echo=$(run_nameless "${program[@]}" -s -h "$host:9" -t own hello 2>&1 >/dev/null) || status=$?
  [ "$status" -eq 0 ] || { echo "-h '$host:9': exit code $status, expected 0: $echo"; exit 1; }
  grep -qE "^<13>[A-Z][a-z]{2} [ 0-9]{2} [0-9:]{8} $expected own:hello" <<<"$echo" ||
    { echo "-h '$host:9': the message does not carry $expected: $echo"; exit 1; }
done

# The address and port of the one datagram a run sends, as strace shows the sendto call. The leak
# checker of a sanitizer build traces the process itself, which strace's trace forbids.
destination_of() {
  local trace
  trace=$(mktemp)
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" run_nameless strace -qq -e trace=sendto -e signal=none -o "$trace" "$@" >/dev/null 2>&1 ||
    { rm -f "$trace"; echo "failed: $*"; return; }
  sed -n 's/.*sa_family=AF_INET, sin_port=htons(\([0-9]*\)), sin_addr=inet_addr("\([0-9.]*\)").*/\2:\1/p' \
    "$trace"
  rm -f "$trace"
}

if command -v strace >/dev/null; then
  for case in "-h ::1|$expected:514" "-h 127.0.0.1:9 -h ::1|$expected:9" \
              "-h ORVO..NOWHERE:9|$expected:9" "-h localhost:9|127.0.0.1:9"; do
    options=${case%|*}
    want=${case#*|}
    # shellcheck disable=SC2086
    got=$(destination_of "${program[@]}" $options -t own hello)
    [ "$got" = "$want" ] || { echo "$options: sent to '$got', expected $want"; exit 1; }
  done
  echo "ok: destinations of -h ::1, the own name and localhost"
else
  echo "strace is not installed: the destinations are not checked"
fi
echo "ok: host field $expected"
