#!/usr/bin/env python3
"""Compares orvologger builds by the processor time of whole runs, measured per run to the
microsecond (wait4), with the builds taking turns and the order swapped every round.

  bench/compare-cpu.py [--runs N] [--mode file|one] [--lines N] NAME=PROGRAM NAME=PROGRAM...

file: each run sends a file of N lines (default 200,000) of 100 bytes; one: one message word.
The datagrams go to a socket on 127.0.0.1 that is bound but read only between runs. The first
build is the base of the ratios. Prints, per build, the fastest and the median user + system
time, then each other build's ratio to the base.
"""
import argparse
import os
import socket
import statistics
import tempfile


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=21)
    parser.add_argument("--mode", choices=("file", "one"), default="file")
    parser.add_argument("--lines", type=int, default=200_000)
    parser.add_argument("builds", nargs="+", metavar="NAME=PROGRAM")
    args = parser.parse_args()
    builds = [build.split("=", 1) for build in args.builds]

    receiver = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    receiver.bind(("127.0.0.1", 0))
    receiver.setblocking(False)
    port = receiver.getsockname()[1]
    work = tempfile.TemporaryDirectory(prefix="orvo-compare-")
    lines = os.path.join(work.name, "lines.txt")
    with open(lines, "w") as out:
        for i in range(args.lines):
            out.write(f"line {i} ".ljust(99, "x") + "\n")
    tail = ["-f", lines] if args.mode == "file" else ["word"]

    null = os.open(os.devnull, os.O_RDWR)
    times = {name: [] for name, _ in builds}
    for run in range(args.runs):
        for name, program in builds if run % 2 == 0 else builds[::-1]:
            pid = os.fork()
            if pid == 0:
                for fd in (0, 1, 2):
                    os.dup2(null, fd)
                os.execv(program, [program, "-h", f"127.0.0.1:{port}"] + tail)
            _, status, usage = os.wait4(pid, 0)
            if status != 0:
                raise SystemExit(f"{name} exited with status {status}")
            times[name].append(usage.ru_utime + usage.ru_stime)
            try:
                while True:
                    receiver.recv(2048)
            except BlockingIOError:
                pass

    print(f"{args.mode} mode, {args.runs} runs each, user + system seconds")
    for name, _ in builds:
        print(f"  {name:12} fastest {min(times[name]):.6f}  median {statistics.median(times[name]):.6f}")
    base = builds[0][0]
    for name, _ in builds[1:]:
        fastest = min(times[name]) / min(times[base])
        median = statistics.median(times[name]) / statistics.median(times[base])
        print(f"  {name}/{base}: fastest {fastest:.3f}  median {median:.3f}")


if __name__ == "__main__":
    main()
