#!/usr/bin/env python3
"""What the monitor writes to disk in all, measured from outside: a one-year history (and its
".back" copy, as any earlier run leaves), the simulated board on COM3, a start, two polls and a
close by SIGTERM (the shutdown path that saves the history).

The monitor runs as a child of this script; once it is reaped, the kernel adds its I/O counts
to this process's /proc/self/io, so the figure covers the whole life of the monitor, the final
save included. write_bytes: bytes sent towards the disk (counted when the page cache is dirtied);
wchar: bytes handed to write(). The monitor's peak resident memory comes from getrusage.

Run by hand (never part of the test suite), after a build:
    bench/monitor_write_bytes.py [--build build] [--days 365] [--polls 2] [--monitor PATH]
"""

import argparse
import glob
import os
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time


def io_counts():
    counts = {}
    with open("/proc/self/io") as f:
        for line in f:
            name, value = line.split(":")
            counts[name] = int(value)
    return counts


def log_lines(folder):
    lines = []
    for name in sorted(glob.glob(os.path.join(folder, "Log_*.txt"))):
        with open(name, encoding="latin-1") as f:
            lines += [line.rstrip("\r\n") for line in f if line.strip()]
    return lines


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            sys.exit(f"monitor_write_bytes: no {what} after {seconds} s")
        time.sleep(0.2)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--days", default="365")
    parser.add_argument("--polls", type=int, default=2)
    parser.add_argument("--monitor", help="the vesk-monitor to measure (default BUILD/bin/vesk-monitor)")
    parser.add_argument("--keep", action="store_true", help="keep the program folder")
    args = parser.parse_args()
    bin_dir = os.path.abspath(os.path.join(args.build, "bin"))
    monitor = os.path.abspath(args.monitor or os.path.join(bin_dir, "vesk-monitor"))

    folder = tempfile.mkdtemp(prefix="vesk-monitor-io-")
    sim = None
    try:
        # The program folder is the executable's own folder.
        shutil.copy2(monitor, os.path.join(folder, "vesk-monitor"))
        history = os.path.join(folder, "DatasVesk.bin")
        subprocess.run([os.path.join(bin_dir, "vesk-cli"), "history", "generate", "--days",
                        args.days, history], check=True, stdout=subprocess.DEVNULL)
        shutil.copyfile(history, history + ".back")
        size = os.path.getsize(history)

        port = os.path.join(folder, "ports", "COM3")
        sim = subprocess.Popen([os.path.join(bin_dir, "vesk-board-sim"), "--port", "3",
                                "--folder", folder], stdout=subprocess.DEVNULL)
        wait_for(lambda: os.path.exists(port), 10, "ports/COM3")

        before = io_counts()
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        start = time.monotonic()
        monitor_process = subprocess.Popen([os.path.join(folder, "vesk-monitor")], cwd=folder,
                                           env=env, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL)
        wait_for(lambda: sum("GetData-> " in line for line in log_lines(folder)) >= args.polls,
                 120, f"{args.polls} polls")
        running = time.monotonic() - start
        monitor_process.send_signal(signal.SIGTERM)
        monitor_process.wait(timeout=120)
        after = io_counts()
        peak_kb = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss

        lines = log_lines(folder)
        saves = [line for line in lines if "Data saved : " in line]
        print(f"history file        {size / 1e6:.1f} MB ({(size - 8) // 80} records) and its .back")
        print(f"monitor             {monitor}")
        print(f"polls before close  {sum('GetData-> ' in line for line in lines)} ({running:.1f} s)")
        print(f"saves logged        {len(saves)}: {saves[-1].split(' : ', 1)[-1] if saves else '-'}")
        print(f"write_bytes         {(after['write_bytes'] - before['write_bytes']) / 1e6:.3f} MB")
        print(f"wchar               {(after['wchar'] - before['wchar']) / 1e6:.3f} MB")
        print(f"peak memory         {peak_kb / 1e3:.1f} MB (monitor, resident)")
    finally:
        if sim is not None:
            sim.terminate()
            sim.wait()
        if args.keep:
            print(f"program folder      {folder}")
        else:
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
