#!/usr/bin/env python3
"""A lost display: the monitor runs under its own Xvfb in fast mode with a simulated board
and its autostart connection; after N successful polls (its log's "GetData-> " lines) the X
server is killed. The monitor ends without its closing sequence ("The X11 connection broke"),
yet its history file holds at least N-1 new records: each reading reached the disk before the
next poll. Then the same for vesk-cli serve killed with SIGKILL.

    tests/soak/display_loss.py [--build build] [--polls 12]
"""

import os
import signal
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from soak_support import (HISTORY, Board, Build, Failure, History, LineReader, clean_up,
                          ended, log_files, log_texts, monitor_folder, monitor_readings,
                          run_script, serve_polls, start_serve, stop_all, wait_for,
                          write_settings)


def free_display():
    for number in range(90, 200):
        if not os.path.exists(f"/tmp/.X{number}-lock") and \
                not os.path.exists(f"/tmp/.X11-unix/X{number}"):
            return number
    raise Failure("no free X display number")


def start_xvfb(number):
    xvfb = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1280x1024x24", "-nolisten",
                             "tcp"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for(lambda: os.path.exists(f"/tmp/.X11-unix/X{number}"), 20, "X server")
    return xvfb


def records(folder):
    path = os.path.join(folder, HISTORY)
    return History(path).count if os.path.exists(path) else 0


def monitor_loses_its_display(build, root, polls, figures, processes, boards):
    folder = os.path.join(root, "monitor")
    monitor_folder(build, folder)
    write_settings(folder, {"Autostart": 1, "Speed": 1})
    board = Board(build, folder, os.path.join(root, "monitor-board.txt"), ["--model", "23"])
    boards.append(board)
    board.start(seed=1)
    number = free_display()
    xvfb = start_xvfb(number)
    processes.append(xvfb)
    env = dict(os.environ, DISPLAY=f":{number}", QT_QPA_PLATFORM="xcb",
               TMPDIR=os.path.join(folder, "tmp"))
    env.pop("WAYLAND_DISPLAY", None)
    monitor = subprocess.Popen([os.path.join(folder, "vesk-monitor")], cwd=folder, env=env,
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    processes.append(monitor)
    readings = lambda: monitor_readings(log_texts(log_files(folder)))
    seen = len(wait_for(lambda: len(readings()) >= polls and readings(), 60,
                        f"{polls} successful polls"))
    xvfb.kill()
    xvfb.wait()
    if ended(monitor, 30) is None:
        raise Failure("the monitor did not end with its display")
    texts = log_texts(log_files(folder))
    kept = records(folder)
    figures["monitor: successful polls before the display went"] = seen
    figures["monitor: records on disk"] = kept
    figures["monitor: closing sequence ran"] = "Application closed" in texts
    if kept < seen - 1:
        raise Failure(f"the monitor kept {kept} of {seen} readings")


def serve_is_killed(build, root, polls, figures, processes, boards):
    folder = os.path.join(root, "serve")
    os.makedirs(folder)
    write_settings(folder, {})
    board = Board(build, folder, os.path.join(root, "serve-board.txt"), ["--model", "23"])
    boards.append(board)
    board.start(seed=2)
    serve = start_serve(build, folder, os.path.join(folder, "logs"), ["--interval", "0.2"])
    processes.append(serve)
    lines = LineReader(serve.stdout)
    good = lambda: [p for p in serve_polls(lines.snapshot()) if not p[2]]
    wait_for(lambda: len(good()) >= polls, 60, f"{polls} successful polls")
    serve.send_signal(signal.SIGKILL)
    serve.wait()
    seen = len(good())
    kept = records(folder)
    figures["serve: successful polls printed before SIGKILL"] = seen
    figures["serve: records on disk"] = kept
    if kept < seen - 1:
        raise Failure(f"serve kept {kept} of {seen} readings")


def run(args, figures):
    build = Build(args.build)
    root = tempfile.mkdtemp(prefix="vesk-display-loss-")
    processes, boards = [], []
    try:
        monitor_loses_its_display(build, root, args.polls, figures, processes, boards)
        serve_is_killed(build, root, args.polls, figures, processes, boards)
    finally:
        stop_all(processes, boards)
        clean_up(root, args.keep)


if __name__ == "__main__":
    sys.exit(run_script("display_loss", __doc__,
                        lambda p: p.add_argument("--polls", type=int, default=12), run))
