#!/usr/bin/env bash
# The README's First use, run as its reader runs it: its ```sh blocks in order, in one shell, as
# an ordinary user (nobody, when the test runs as root) with an ordinary user's PATH, in an
# empty folder, with the program on the PATH. What the blocks write on standard output must
# match the README's ```text blocks, the time, the host field and the process id aside; and
# once they have run, no process they started may be left.
#   usage: readme-first-use.sh <README.md> <orvologger>
#                                             exit 77: skipped (no rsyslogd, no ordinary user)
set -euo pipefail
readme=$1
program=$2
rsyslogd=/usr/sbin/rsyslogd
port=5514

[ -x "$rsyslogd" ] || { echo "skipped: $rsyslogd is not installed"; exit 77; }
runner=()
if [ "$(id -u)" -eq 0 ]; then
  id nobody >/dev/null 2>&1 || { echo "skipped: there is no user nobody to run as"; exit 77; }
  runner=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups --)
fi

# The blocks of one kind (sh or text) of the section "## First use", in the README's order.
blocks_of() {
  awk -v kind="$1" '
    /^## / { inside = ($0 == "## First use") }
    inside && /^```/ { if (fence) { fence = 0; next } fence = 1; keep = ($0 == "```" kind); next }
    inside && fence && keep { print }' "$readme"
}
commands=$(blocks_of sh)
expected=$(blocks_of text)
[ -n "$commands" ] || { echo "no \`\`\`sh block under '## First use' in $readme"; exit 1; }
[ -n "$expected" ] || { echo "no \`\`\`text block under '## First use' in $readme"; exit 1; }

# Another run of this test, or a reader trying the README, may hold the README's port: the
# blocks then run on a free one.
port_in_use() { ss -Hluan "sport = :$1" | grep -q .; }
if port_in_use "$port"; then
  for candidate in $(seq 25520 25599); do
    port_in_use "$candidate" || { commands=${commands//$port/$candidate}; port=$candidate; break; }
  done
fi

# In /tmp, which every user may enter, whatever TMPDIR names.
scratch=$(mktemp -d /tmp/readme-first-use.XXXXXX)
marker="readme-first-use-$$-$RANDOM"
# Every process the blocks start inherits the marker in its environment.
leftovers() {
  grep -lzx "ORVO_FIRST_USE=$marker" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3 || true
}
cleanup() {
  local pids
  pids=$(leftovers)
  [ -z "$pids" ] || kill -KILL $pids 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
chmod 755 "$scratch"
mkdir "$scratch/bin" "$scratch/folder"
cp "$program" "$scratch/bin/orvologger"
printf '%s\n' "$commands" >"$scratch/first-use.sh"
chmod 755 "$scratch/bin/orvologger"
chmod 644 "$scratch/first-use.sh"
[ ${#runner[@]} -eq 0 ] || chown nobody "$scratch/folder"

status=0
output=$(cd "$scratch/folder" &&
         env -i HOME="$scratch/folder" PATH="$scratch/bin:/usr/local/bin:/usr/bin:/bin" \
             LANG=C.UTF-8 ORVO_FIRST_USE="$marker" \
             timeout 30 "${runner[@]}" bash -e "$scratch/first-use.sh" 2>&1) || status=$?
[ "$status" -eq 0 ] || { echo "the blocks failed with exit code $status:"; echo "$output"; exit 1; }

# The variable parts of a log line, the same in the README's sample and in what the blocks
# wrote: the time stamp, the dotted host field and the process id.
normalized() {
  sed -E -e 's/[A-Z][a-z]{2} [ 0-9][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2}/TIME/g' \
         -e 's/[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+/HOST/g' -e 's/\[[0-9]+\]/[PID]/g'
}
want=$(printf '%s\n' "$expected" | normalized)
got=$(printf '%s\n' "$output" | normalized)
if [ "$got" != "$want" ]; then
  echo "the blocks wrote what the README does not show:"
  diff <(echo "$want") <(echo "$got") || true
  exit 1
fi

# What the blocks started must be gone; rsyslogd takes a moment to end after its signal.
for _ in $(seq 50); do
  [ -n "$(leftovers)" ] || break
  sleep 0.1
done
left=$(leftovers)
if [ -n "$left" ]; then
  echo "left running after the README's blocks:"
  ps -o pid,user,args -p "$(echo $left | tr ' ' ,)" || true
  exit 1
fi
echo "ok: the README's First use, as $(${runner[@]+"${runner[@]}"} id -un), on port $port"
