#!/usr/bin/env python3
"""The processor time the running monitor takes between polls, measured from outside: a
generated history, the simulated board on COM3, the monitor connected and polling every 10 s
with the X axis locked (the default), the charts redrawn after every poll. Once the start has
settled, the monitor's user and system time are read from /proc/<pid>/stat at the start and the
end of a span of minutes; the figure is that time over the span, in percent of one core.

Run by hand (never part of the test suite), after a build:
    bench/monitor_idle_cpu.py [--build build] [--days 365] [--minutes 3] [--whole-window]
Under a real X server (for instance xvfb-run -a bench/monitor_idle_cpu.py --platform xcb) the
window is drawn as on a desktop; by default it runs offscreen.
"""

import argparse
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    # utime and stime are fields 14 and 15 of the line, 12 and 13 after the name.
    return (int(fields[11]) + int(fields[12])) / TICKS


def polls(folder):
    count = 0
    for name in glob.glob(os.path.join(folder, "Log_*.txt")):
        with open(name, encoding="latin-1") as f:
            count += sum("GetData-> " in line for line in f)
    return count


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            sys.exit(f"monitor_idle_cpu: no {what} after {seconds} s")
        time.sleep(0.2)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--days", default="365", help="history length in days")
    parser.add_argument("--minutes", type=float, default=3.0, help="span measured")
    parser.add_argument("--settle", type=float, default=20.0, help="seconds after the first poll")
    parser.add_argument("--whole-window", action="store_true", help='"Show the whole window" on')
    parser.add_argument("--platform", default="offscreen", help="QT_QPA_PLATFORM of the monitor")
    args = parser.parse_args()
    bin_dir = os.path.abspath(os.path.join(args.build, "bin"))

    folder = tempfile.mkdtemp(prefix="vesk-monitor-cpu-")
    sim = monitor = None
    try:
        # The program folder is the executable's own folder.
        shutil.copy2(os.path.join(bin_dir, "vesk-monitor"), os.path.join(folder, "vesk-monitor"))
        subprocess.run([os.path.join(bin_dir, "vesk-cli"), "history", "generate", "--days",
                        args.days, os.path.join(folder, "DatasVesk.bin")], check=True,
                       stdout=subprocess.DEVNULL)
        with open(os.path.join(folder, "VeskLevel.ini"), "w", newline="") as ini:
            # No look-up of the public address leaves the machine; images are not taken here.
            ini.write("[Misc]\r\nIpEchoUrl=http://127.0.0.1:9/\r\n")
            ini.write(f"WholeWindow={1 if args.whole_window else 0}\r\n")

        port = os.path.join(folder, "ports", "COM3")
        sim = subprocess.Popen([os.path.join(bin_dir, "vesk-board-sim"), "--port", "3",
                                "--folder", folder], stdout=subprocess.DEVNULL)
        wait_for(lambda: os.path.exists(port), 10, "ports/COM3")

        env = dict(os.environ, QT_QPA_PLATFORM=args.platform)
        monitor = subprocess.Popen([os.path.join(folder, "vesk-monitor")], cwd=folder, env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: polls(folder) >= 1, 300, "first poll")
        time.sleep(args.settle)

        span = args.minutes * 60
        first_polls = polls(folder)
        start_cpu, start = cpu_seconds(monitor.pid), time.monotonic()
        time.sleep(span)
        used, elapsed = cpu_seconds(monitor.pid) - start_cpu, time.monotonic() - start
        measured_polls = polls(folder) - first_polls

        print(f"history             {args.days} days at 10 s")
        print(f"whole window        {'on' if args.whole_window else 'off'}")
        print(f"platform            {args.platform}")
        print(f"span                {elapsed:.0f} s, {measured_polls} polls")
        print(f"processor time      {used:.2f} s ({used / max(measured_polls, 1) * 1000:.0f} ms "
              f"a poll)")
        print(f"load                {used / elapsed * 100:.3f} % of one core")
    finally:
        for process in (monitor, sim):
            if process is not None:
                process.terminate()
                process.wait()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
