#!/usr/bin/env bash
# orvologger on a machine whose first interface is up but has no carrier, in a network namespace
# of its own: two veth pairs, the first with its peer down (up, not running), the second with
# both ends up. The message's host field is the second pair's address, as Windows leaves out a
# disconnected adapter. The datagram goes to the discard port of the namespace's own loopback;
# nothing leaves the namespace.
#   usage: carrier-posix.sh [emulator and its options] <orvologger>
#                                             exit 77: skipped (needs root, unshare and ip)
set -euo pipefail

[ "$(id -u)" -eq 0 ] || { echo "skipped: a network namespace of its own needs root"; exit 77; }
for tool in unshare ip; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

# Runs inside the namespace: builds the interfaces, waits (bounded) for the second pair's
# carrier, and sends one message with its echo on standard error.
inside() {
  ip link set lo up
  ip link add orvo-dark type veth peer name orvo-dark-peer
  ip addr add 192.0.2.1/24 dev orvo-dark
  ip link set orvo-dark up
  ip link add orvo-lit type veth peer name orvo-lit-peer
  ip addr add 198.51.100.1/24 dev orvo-lit
  ip link set orvo-lit-peer up
  ip link set orvo-lit up
  # The namespace has no /sys of its own; ip shows the link's state.
  local tries=0
  until ip -o link show dev orvo-lit | grep -q 'LOWER_UP'; do
    tries=$((tries + 1))
    [ "$tries" -le 100 ] || { echo "orvo-lit got no carrier"; return 1; }
    sleep 0.05
  done
  ip -o link show dev orvo-dark | grep -q 'NO-CARRIER' || { echo "orvo-dark has a carrier"; return 1; }
  "$@" -s -h 127.0.0.1:9 -t carrier hello 2>&1 >/dev/null
}

status=0
echo=$(unshare --net bash -c "$(declare -f inside); inside \"\$@\"" _ "$@") || status=$?
[ "$status" -eq 0 ] || { echo "exit code $status, expected 0: $echo"; exit 1; }
grep -qE '^<13>[A-Z][a-z]{2} [ 0-9]{2} [0-9:]{8} 198\.51\.100\.1 carrier:hello' <<<"$echo" ||
  { echo "the message does not carry 198.51.100.1: $echo"; exit 1; }
echo "ok: host field 198.51.100.1, the interface without carrier left out"
