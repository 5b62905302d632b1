#!/usr/bin/env bash
# End-to-end benchmark of orvologger beside util-linux logger and a raw sendto loop, all sending
# to a counting receiver on 127.0.0.1. See the Benchmarks section of README.md.
#
#   bench/run.sh            full run: files of 10k, 100k and 1M lines, medians of several runs
#   bench/run.sh --smoke    one small file, one run of each: checks that everything works, in
#                           seconds; reports figures but asserts nothing about time
#
# Options: --reps N (runs per sender and file, default 5), --keep (keep the work directory),
# --no-build (use build/default as it is), --waiting-receiver (the receiver waits on the socket
# instead of napping; see bench/LoopbackReceiver.cpp), --lines N (file mode only, one file of N
# lines), --also NAME=PROGRAM (file mode also runs another orvologger build, in turn with the
# others; repeatable: compares builds in one run).
set -euo pipefail
cd "$(dirname "$0")/.."

SMOKE=0
REPS=5
KEEP=0
BUILD=1
RECEIVER_NAP=()
LINES=""
ALSO=()
while [ $# -gt 0 ]; do
  case "$1" in
    --smoke) SMOKE=1 ;;
    --reps) REPS="$2"; shift ;;
    --keep) KEEP=1 ;;
    --no-build) BUILD=0 ;;
    --waiting-receiver) RECEIVER_NAP=(--nap-us 0) ;;
    --lines) LINES="$2"; shift ;;
    --also) ALSO+=("$2"); shift ;;
    *)
      echo "usage: bench/run.sh [--smoke] [--reps N] [--keep] [--no-build] [--waiting-receiver]" \
        "[--lines N] [--also NAME=PROGRAM]..." >&2
      exit 2
      ;;
  esac
  shift
done

BIN=build/default/bin
if [ "$BUILD" -eq 1 ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default -j2 --target orvologger loopback_receiver raw_send_loop one_datagram \
    >/dev/null
fi
ORVO="$PWD/$BIN/orvologger"
RECEIVER="$PWD/$BIN/loopback_receiver"
RAW="$PWD/$BIN/raw_send_loop"
ONE="$PWD/$BIN/one_datagram"
LOGGER="$(command -v logger || true)"
TIME=/usr/bin/time
for tool in "$ORVO" "$RECEIVER" "$RAW" "$ONE" "$LOGGER" "$TIME"; do
  [ -x "$tool" ] || { echo "bench/run.sh: missing $tool" >&2; exit 2; }
done

# With two processors or more, every sender runs on processor 0 and the receiver on processor
# 1, so that where the scheduler puts them does not add to the spread between runs.
SENDER_CPU=()
RECEIVER_CPU=()
if command -v taskset >/dev/null && [ "$(nproc)" -ge 2 ]; then
  SENDER_CPU=(taskset -c 0)
  RECEIVER_CPU=(taskset -c 1)
fi

WORK="$(mktemp -d /tmp/orvo-bench.XXXXXX)"
RECEIVER_PID=""
cleanup() {
  if [ -n "$RECEIVER_PID" ]; then kill "$RECEIVER_PID" 2>/dev/null || true; fi
  if [ "$KEEP" -eq 0 ]; then rm -rf "$WORK"; else echo "work directory kept: $WORK"; fi
}
trap cleanup EXIT

FAILURES=0
note_loss() {
  echo "  LOSS: $*"
  FAILURES=$((FAILURES + 1))
}

# The kernel's UDP counters of datagrams to a port nobody listened on and of datagrams dropped
# for a full receive buffer (system-wide, so other programs' datagrams count too).
udp_drop_counters() {
  awk '$1 == "Udp:" && $2 ~ /^[0-9]+$/ { print "NoPorts", $3, "RcvbufErrors", $6 }' /proc/net/snmp \
    2>/dev/null || true
}

# Lines of 99 characters and a line end: a counter, so every datagram differs, and filler.
make_file() {
  local lines="$1" file="$2"
  awk -v n="$lines" 'BEGIN {
    filler = "the quick brown fox jumps over the lazy dog while the syslog server counts datagrams";
    for (i = 1; i <= n; i++) printf "message %09d %s\n", i, substr(filler, 1, 81);
  }' >"$file"
}

median() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) { print 0; exit }
    if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Starts a receiver that stops by itself after `expect` datagrams or three quiet seconds; sets
# PORT.
start_receiver() {
  local expect="$1" out="$2"
  # Emptied here, not by the redirection in the background job, so that the port read below
  # can't be the previous receiver's.
  : >"$out"
  "${RECEIVER_CPU[@]}" "$RECEIVER" --expect "$expect" --idle-ms 3000 --wait-ms 60000 "${RECEIVER_NAP[@]}" \
    >>"$out" &
  RECEIVER_PID=$!
  local tries=0
  PORT=""
  while [ -z "$PORT" ] && [ $tries -lt 200 ]; do
    PORT="$(head -n 1 "$out" 2>/dev/null || true)"
    [ -n "$PORT" ] || { sleep 0.01; tries=$((tries + 1)); }
  done
  [ -n "$PORT" ] || { echo "bench/run.sh: the receiver did not start" >&2; exit 2; }
}

finish_receiver() {
  wait "$RECEIVER_PID" || true
  RECEIVER_PID=""
}

# One timed send of a file: run_sender NAME FILE LINES COMMAND... (@PORT@ in COMMAND is the
# receiver's port). Appends "name rate rss_kb received sent dropped loop_rate cpu_rate" to
# $WORK/results; cpu_rate is messages per second of the sender's own processor time (user and
# system), which other programs running meanwhile disturb less than the wall-clock rate.
run_sender() {
  local name="$1" file="$2" lines="$3"
  shift 3
  local out="$WORK/receiver.out" timefile="$WORK/time.out" senderout="$WORK/sender.out"
  start_receiver "$lines" "$out"
  local args=() a
  for a in "$@"; do args+=("${a//@PORT@/$PORT}"); done
  local t0 t1 counters_before
  counters_before="$(udp_drop_counters)"
  t0=$(date +%s%N)
  "${SENDER_CPU[@]}" "$TIME" -v -o "$timefile" "${args[@]}" >"$senderout" 2>&1 || {
    echo "bench/run.sh: $name failed:" >&2
    cat "$senderout" >&2
    exit 1
  }
  t1=$(date +%s%N)
  finish_receiver
  local seconds rate rss received dropped sent loop_rate
  seconds=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.6f", (b - a) / 1e9 }')
  rate=$(awk -v n="$lines" -v s="$seconds" 'BEGIN { printf "%.0f", n / s }')
  rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$timefile")
  cpu_rate=$(awk -F': ' -v n="$lines" '/User time|System time/ { s += $2 }
    END { if (s > 0) printf "%.0f", n / s; else print "-" }' "$timefile")
  read -r _ received _ _ _ dropped _ _ < <(tail -n 1 "$out")
  sent="$lines"
  loop_rate="-"
  if [ "$name" = raw ]; then
    read -r _ sent _ _ _ loop_rate < "$senderout"
  fi
  [ "$received" = "$sent" ] ||
    note_loss "$name $(basename "$file"): sent $sent, received $received, receiver's drops" \
      "$dropped; kernel UDP counters before: $counters_before, after: $(udp_drop_counters)"
  echo "$name $rate $rss $received $sent $dropped $loop_rate $cpu_rate" >>"$WORK/results"
}

column_median() {
  local name="$1" column="$2"
  awk -v n="$name" -v c="$column" '$1 == n && $c != "-" { print $c }' "$WORK/results" | median
}

# "min..max" of a sender's rates.
rate_spread() {
  awk -v n="$1" '$1 == n { if (lo == "" || $2 < lo) lo = $2; if ($2 > hi) hi = $2 }
    END { printf "%s..%s", lo, hi }' "$WORK/results"
}

ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.3f", a / b; else print "-" }'
}

echo "orvologger end-to-end benchmark ($(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores)"
echo "orvologger: $ORVO"
echo "logger:     $("$LOGGER" --version)"
echo

# 1. File mode throughput ------------------------------------------------------------------------
if [ "$SMOKE" -eq 1 ]; then
  SIZES=(1000)
  REPS=1
elif [ -n "$LINES" ]; then
  SIZES=("$LINES")
else
  SIZES=(10000 100000 1000000)
fi
echo "1. File mode: messages/s (whole process, median), peak RSS, datagrams received/sent"
for lines in "${SIZES[@]}"; do
  file="$WORK/lines-$lines.txt"
  make_file "$lines" "$file"
  bytes=$(stat -c %s "$file")
  reps="$REPS"
  : >"$WORK/results"
  for ((r = 1; r <= reps; r++)); do
    run_sender orvologger "$file" "$lines" "$ORVO" -h "127.0.0.1:@PORT@" -f "$file"
    run_sender logger "$file" "$lines" "$LOGGER" --rfc3164 -d -n 127.0.0.1 -P @PORT@ -f "$file"
    run_sender raw "$file" "$lines" "$RAW" @PORT@ "$file"
    for also in "${ALSO[@]}"; do
      run_sender "${also%%=*}" "$file" "$lines" "${also#*=}" -h "127.0.0.1:@PORT@" -f "$file"
    done
  done
  orvo=$(column_median orvologger 2)
  logg=$(column_median logger 2)
  raw=$(column_median raw 2)
  limit=$(column_median raw 7)
  orvo_rss=$(column_median orvologger 3)
  rss_limit=$(((bytes + 16 * 1024 * 1024) / 1024))
  echo "  $lines lines, $bytes bytes, $reps runs each"
  printf '    %-11s %9s msg/s  peak RSS %7s KiB  spread %s\n' orvologger "$orvo" "$orvo_rss" \
    "$(rate_spread orvologger)"
  printf '    %-11s %9s msg/s  peak RSS %7s KiB  spread %s\n' logger "$logg" \
    "$(column_median logger 3)" "$(rate_spread logger)"
  printf '    %-11s %9s msg/s  peak RSS %7s KiB  spread %s  (sendto loop alone: %s msg/s)\n' raw \
    "$raw" "$(column_median raw 3)" "$(rate_spread raw)" "$limit"
  for also in "${ALSO[@]}"; do
    name="${also%%=*}"
    rate=$(column_median "$name" 2)
    printf '    %-11s %9s msg/s  peak RSS %7s KiB  spread %s  /orvologger %s  /limit %s\n' "$name" \
      "$rate" "$(column_median "$name" 3)" "$(rate_spread "$name")" "$(ratio "$rate" "$orvo")" \
      "$(ratio "$rate" "$limit")"
  done
  if [ "${#ALSO[@]}" -gt 0 ]; then
    echo "    per second of the sender's own processor time (median):"
    for name in orvologger logger raw "${ALSO[@]%%=*}"; do
      printf '      %-11s %9s msg/cpu-s\n' "$name" "$(column_median "$name" 8)"
    done
  fi
  echo "    orvologger/logger $(ratio "$orvo" "$logg")   orvologger/limit $(ratio "$orvo" "$limit")" \
    "  orvologger/raw process $(ratio "$orvo" "$raw")"
  echo "    orvologger peak RSS $orvo_rss KiB against file size + 16 MiB = $rss_limit KiB:" \
    "$([ "$orvo_rss" -le "$rss_limit" ] && echo within || echo OVER)"
  awk '{ r[$1] += $4; s[$1] += $5; d[$1] += $6 }
       END { for (n in r) printf "    %-11s received %d of %d sent (kernel drops %d)\n", n, r[n], s[n], d[n] }' \
    "$WORK/results" | sort
done
echo
[ -z "$LINES" ] || { [ "$FAILURES" -eq 0 ] || exit 1; exit 0; }

# 2. One message, whole process ------------------------------------------------------------------
echo "2. One message: whole-process time, beside a C program that sends one datagram"
if command -v hyperfine >/dev/null; then
  if [ "$SMOKE" -eq 1 ]; then warmup=2; runs=5; else warmup=30; runs=300; fi
  start_receiver $((3 * (warmup + runs))) "$WORK/receiver.out"
  hyperfine -N --style none --warmup "$warmup" --runs "$runs" --export-csv "$WORK/one.csv" \
    -n orvologger "$ORVO -h 127.0.0.1:$PORT word" \
    -n logger "$LOGGER --rfc3164 -d -n 127.0.0.1 -P $PORT word" \
    -n one_datagram "$ONE $PORT word" >/dev/null
  finish_receiver
  # Columns: command,mean,stddev,median,user,system,min,max (seconds).
  awk -F, -v runs="$runs" 'NR > 1 {
      printf "    %-11s median %7.3f ms  mean %7.3f ms  min %7.3f ms  (%d runs)\n",
             $1, $4 * 1e3, $2 * 1e3, $7 * 1e3, runs
      median[$1] = $4 }
    END { printf "    orvologger/logger (medians) %.3f   orvologger/one_datagram (medians) %.3f\n",
                 median["orvologger"] / median["logger"], median["orvologger"] / median["one_datagram"] }' \
    "$WORK/one.csv"
  read -r _ received _ _ _ dropped _ _ < <(tail -n 1 "$WORK/receiver.out")
  expected=$((3 * (warmup + runs)))
  echo "    datagrams received $received of $expected sent"
  [ "$received" = "$expected" ] || note_loss "one message: sent $expected, received $received"
else
  echo "    hyperfine is not installed; skipped"
fi
echo

# 3. Host by name --------------------------------------------------------------------------------
# A name that only the bench knows: its senders run in a mount namespace of their own, where a
# copy of /etc/hosts that gives the name 127.0.0.1 is bind-mounted over the machine's, which stays
# as it is. Not localhost (the stack reads it without a look-up) and not the machine's own name
# (the local host, answered from the interfaces). Both senders run in such a namespace, so that
# making it costs both the same.
BENCH_HOST=orvo-bench-host
echo "3. Host by name: file mode, -h $BENCH_HOST:PORT (a look-up) against -h 127.0.0.1:PORT"
if [ "$SMOKE" -eq 1 ]; then lines=1000; else lines=100000; fi
file="$WORK/lines-$lines.txt"
[ -f "$file" ] || make_file "$lines" "$file"
hosts="$WORK/hosts"
{ cat /etc/hosts; echo "127.0.0.1 $BENCH_HOST"; } >"$hosts"
IN_BENCH_HOSTS=(unshare --mount bash -c 'mount --bind "$1" /etc/hosts && shift && exec "$@"' _ "$hosts")
bench_address="$("${IN_BENCH_HOSTS[@]}" getent ahostsv4 "$BENCH_HOST" 2>/dev/null |
  awk 'NR == 1 { print $1 }' || true)"
: >"$WORK/results"
reps=$([ "$SMOKE" -eq 1 ] && echo 1 || echo 5)
if [ "$bench_address" = 127.0.0.1 ]; then
  for ((r = 1; r <= reps; r++)); do
    run_sender dotted "$file" "$lines" "${IN_BENCH_HOSTS[@]}" "$ORVO" -h "127.0.0.1:@PORT@" -f "$file"
    run_sender named "$file" "$lines" "${IN_BENCH_HOSTS[@]}" "$ORVO" -h "$BENCH_HOST:@PORT@" -f "$file"
  done
  dotted_rate=$(column_median dotted 2)
  named_rate=$(column_median named 2)
  echo "  $lines lines, $reps runs each"
  printf '    %-28s %9s msg/s\n' "-h 127.0.0.1:PORT" "$dotted_rate" "-h $BENCH_HOST:PORT" "$named_rate"
  echo "    named/dotted $(ratio "$named_rate" "$dotted_rate")"
else
  echo "    no mount namespace with the bench's hosts file here (needs root and unshare): skipped"
fi
echo

# 4. System calls --------------------------------------------------------------------------------
echo "4. System calls of orvologger in file mode (strace -c -f)"
if command -v strace >/dev/null; then
  for lines in 1 1000; do
    file="$WORK/syscalls-$lines.txt"
    make_file "$lines" "$file"
    start_receiver "$lines" "$WORK/receiver.out"
    strace -c -f -o "$WORK/strace.out" "$ORVO" -h "127.0.0.1:$PORT" -f "$file"
    finish_receiver
    total=$(awk '$NF == "total" { print $4 }' "$WORK/strace.out")
    sendto=$(awk '$NF == "sendto" { print $4 }' "$WORK/strace.out")
    printf '    %5d lines: %5d calls, %5d sendto, %4d others\n' "$lines" "$total" "$sendto" \
      $((total - sendto))
  done
else
  echo "    strace is not installed; skipped"
fi

if [ "$FAILURES" -ne 0 ]; then
  echo
  echo "$FAILURES run(s) lost datagrams (see LOSS lines)"
  exit 1
fi
