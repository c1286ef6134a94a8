#!/usr/bin/env python3
"""Runs a command several times and prints what each run cost the system.

    publish_measure.py [--runs N] [--label TEXT] [--before CMD] -- COMMAND ARGS...

For every run it takes the wall time (perf_counter around fork and wait) and,
from wait4()'s resource usage of the finished child, its user + system CPU time
and its peak resident memory. Nothing is subtracted: process start-up, dynamic
linking and exit are all counted. --before runs a shell command ahead of every
run, outside the measurement (for example to remove the previous output).
Prints min / median / max and, with --json, one JSON line for scripts.
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
import time


def run_once(command):
    started = time.perf_counter()
    pid = os.posix_spawnp(command[0], command, os.environ,
                          file_actions=[(os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0),
                                        (os.POSIX_SPAWN_OPEN, 2, os.devnull, os.O_WRONLY, 0)])
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - started
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{command[0]} failed with status {status}")
    return {"wall_ms": wall * 1000, "cpu_ms": (usage.ru_utime + usage.ru_stime) * 1000,
            "max_rss_kib": usage.ru_maxrss}


def summary(values):
    return min(values), statistics.median(values), max(values)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--label", default="")
    parser.add_argument("--before", default="")
    parser.add_argument("--json", action="store_true")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if not command:
        parser.error("no command")

    runs = []
    for _ in range(args.runs):
        if args.before:
            subprocess.run(args.before, shell=True, check=True)
        runs.append(run_once(command))

    wall = summary([r["wall_ms"] for r in runs])
    cpu = summary([r["cpu_ms"] for r in runs])
    rss = max(r["max_rss_kib"] for r in runs)
    label = args.label or os.path.basename(command[0])
    print(f"{label}: {args.runs} runs")
    print(f"  wall time      min {wall[0]:8.1f} ms   median {wall[1]:8.1f} ms   max {wall[2]:8.1f} ms")
    print(f"  CPU user+sys   min {cpu[0]:8.1f} ms   median {cpu[1]:8.1f} ms   max {cpu[2]:8.1f} ms")
    print(f"  peak memory    {rss / 1024:.1f} MiB (max resident set)")
    if args.json:
        print(json.dumps({"label": label, "wall_ms": wall, "cpu_ms": cpu, "max_rss_kib": rss}))


if __name__ == "__main__":
    main()
