#!/usr/bin/env python3
"""Data safety: the monitor (offscreen) and vesk-cli serve, each in a program folder of its own
with a history, its own simulated board and periodic saves a fraction of a second apart, are
started and killed (SIGKILL) over and over, in turn: half of the kills at a random moment,
half right after a save began to write (the ".back" copy changed) plus a random fraction of a
millisecond. After each kill:

- the history file and its ".back" copy load (the loader's rules: tag, a count the file holds);
- the file holds every record of the last save the run completed ("Data saved" in its log),
  and every record of earlier runs byte for byte; the ".back" copy is the beginning of it;
- the records the run added are its readings, in order (serve's printed dates, the monitor's
  logged outside temperatures);
- the next start loads the file with its whole count and sets nothing aside.

Then, for each program: a full disk during the saves (the file size limit just above the
history, SIGXFSZ ignored) keeps the last completed save and the run ends as it should; the
next run with room saves everything; a history file cut short at start is set aside and the
".back" copy loaded in its place.

    tests/soak/kill_loop.py [--build build] [--kills 200] [--seed 1]

The figures are printed at the end; docs/RELIABILITY.md holds those of a 200-kill run. A short
run is the test soak.kills.
"""

import argparse
import glob
import os
import random
import resource
import signal
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from soak_support import (BACKUP, HEADER_SIZE, HISTORY, LOADED, PERIODIC_SAVE_FAILED,
                          PERIODIC_SAVE_OK, RECORD_SIZE, SAVED, Board, Build, Failure, History,
                          LineReader, clean_up, count_starting, ended, last_number, log_files, log_texts,
                          monitor_folder, monitor_readings, serve_polls, start_monitor,
                          run_script, start_serve, stop_all, wait_for,
                          write_settings)


def full_disk(limit):
    """For the child: files may not grow past `limit` bytes, and a write past it fails
    instead of killing the process."""
    def apply():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
    return apply


class Station:
    """The monitor or serve in its program folder, run after run."""

    def __init__(self, name, build, root, args):
        self.name = name
        self.build = build
        self.folder = os.path.join(root, name)
        os.makedirs(self.folder)
        self.file = os.path.join(self.folder, HISTORY)
        self.backup = os.path.join(self.folder, BACKUP)
        misc = {"Autostart": 1, "ReconnectPeriod": 1, "SavePeriod": args.save_period}
        if name == "monitor":
            misc["Speed"] = 1
            monitor_folder(build, self.folder)
        write_settings(self.folder, misc)
        build.generate_history(self.file, args.history_days)
        self.board = Board(build, self.folder, os.path.join(root, f"{name}-board.txt"), [])
        self.board.start(args.seed)
        self.runs = 0
        self.process = None
        self.out = None
        self.logs = []  # the log files of the current run

    def start(self, preexec=None):
        self.runs += 1
        if self.name == "monitor":
            known = set(log_files(self.folder))
            self.process = start_monitor(self.folder, preexec)
            self.logs = wait_for(lambda: sorted(set(log_files(self.folder)) - known), 30,
                                 "monitor log")
        else:
            logs = os.path.join(self.folder, f"log-{self.runs}")
            self.process = start_serve(self.build, self.folder, logs, ["--interval", "0.1"],
                                       preexec)
            self.out = LineReader(self.process.stdout)
            self.logs = wait_for(lambda: log_files(logs), 30, "serve log")

    def texts(self):
        return log_texts(self.logs)

    def wait_until_started(self, expected_count):
        """The start loaded the whole file and set nothing aside."""
        texts = wait_for(lambda: (t := self.texts()) and "Points loaded" in t and t, 60,
                         f"start of {self.name}")
        loaded = last_number(texts, LOADED) or 0
        if loaded != expected_count or count_starting(texts, "Point loading -> "):
            raise Failure(f"{self.name} run {self.runs}: loaded {loaded} records of "
                          f"{expected_count}: {texts}")
        if glob.glob(os.path.join(self.folder, "*.damaged-*")):
            raise Failure(f"{self.name} run {self.runs}: a history file was set aside")

    def wait_for_saves(self, text, count=1):
        wait_for(lambda: self.process.poll() is not None or
                 count_starting(self.texts(), text) >= count, 60, f"{text!r} of {self.name}")
        if self.process.poll() is not None:
            raise Failure(f"{self.name} run {self.runs} ended ({self.process.returncode})")

    def readings(self):
        """The run's readings: serve's printed dates, the monitor's logged temperatures."""
        if self.name == "monitor":
            return monitor_readings(self.texts())
        # Every line is in once the process has ended.
        self.out.thread.join(timeout=10)
        return [date for _, date, failed in serve_polls(self.out.snapshot()) if not failed]

    def check_added(self, before, after, killed=False):
        """The records the run added are its readings, in order. A reading is on the disk
        before it is printed or logged, so after a kill the last record may be one whose line
        the kill cut off."""
        readings = self.readings()
        added = after.count - before.count
        if added > len(readings) + (1 if killed else 0):
            raise Failure(f"{self.name} run {self.runs}: {added} records added, "
                          f"{len(readings)} readings")
        for i in range(min(added, len(readings))):
            if self.name == "monitor":
                if "%.1f" % after.temp_ext(before.count + i) != readings[i]:
                    raise Failure(f"{self.name} run {self.runs}: record {i + 1} is no reading")
            elif abs(after.date(before.count + i) - readings[i]) > 1e-9:
                raise Failure(f"{self.name} run {self.runs}: record {i + 1} is no reading")
        return readings

    def save_and_stop(self, before, why):
        """One periodic save, then SIGTERM: the file holds every reading of the run after
        `before`'s records, with nothing left over past them."""
        self.wait_for_saves(PERIODIC_SAVE_OK)
        self.process.send_signal(signal.SIGTERM)
        if ended(self.process, 60) != 0:
            raise Failure(f"{self.name} {why} did not end cleanly")
        history, backup = self.loaded_files()
        readings = self.check_added(before, history)
        if history.count - before.count != len(readings) or history.extra or backup.extra:
            raise Failure(f"{self.name} {why}: {history.count - before.count} records added "
                          f"of {len(readings)}, {history.extra} bytes left over")

    def loaded_files(self):
        history = History(self.file)
        backup = History(self.backup)
        if not history.starts_with(backup):
            raise Failure(f"{self.name} run {self.runs}: the .back copy is not the beginning "
                          "of the file")
        return history, backup


def kill_once(station, rng, save_period, figures):
    before = History(station.file)
    station.start()
    station.wait_until_started(before.count)
    station.wait_for_saves(PERIODIC_SAVE_OK)
    if rng.random() < 0.5:
        time.sleep(rng.uniform(0, 2 * save_period))
    else:
        # A save writes the ".back" copy first.
        def stamp():
            try:
                st = os.stat(station.backup)
                return st.st_size, st.st_mtime_ns
            except OSError:
                return None
        was = stamp()
        wait_for(lambda: stamp() != was, 30, "a save", interval=0.0002)
        spin = time.perf_counter() + rng.uniform(0, 0.003)
        while time.perf_counter() < spin:
            pass
    station.process.send_signal(signal.SIGKILL)
    if ended(station.process, 30) != -signal.SIGKILL:
        raise Failure(f"{station.name} run {station.runs} ended before the kill")

    history, backup = station.loaded_files()
    saved = last_number(station.texts(), SAVED)
    if saved is None or history.count < saved:
        raise Failure(f"{station.name} run {station.runs}: the last completed save held "
                      f"{saved} records, the file {history.count}")
    if not history.starts_with(before):
        raise Failure(f"{station.name} run {station.runs}: records of earlier runs changed")
    station.check_added(before, history, killed=True)
    if station.name == "monitor":
        with open(os.path.join(station.folder, "VeskLevel.ini"), newline="") as f:
            if f"SavePeriod={save_period}" not in f.read():
                raise Failure(f"monitor run {station.runs}: the settings file lost its keys")
    half_done = (history.extra > 0 or backup.extra > 0 or history.count > saved or
                 glob.glob(os.path.join(station.folder, "*.tmp")))
    figures["kills"] += 1
    figures["kills that cut a save short"] += bool(half_done)
    figures[f"{station.name} records"] = history.count


def full_disk_then_room(station, figures):
    """A full disk during the saves keeps the last completed save; the next run saves all."""
    before = History(station.file)
    station.start(full_disk(os.path.getsize(station.file) + 2 * RECORD_SIZE))
    station.wait_until_started(before.count)
    station.wait_for_saves(PERIODIC_SAVE_FAILED, 2)
    station.process.send_signal(signal.SIGTERM)
    code = ended(station.process, 60)
    texts = station.texts()
    # serve says the last save failed; the monitor's closing goes on whatever the save did.
    expected = 1 if station.name == "serve" else 0
    if code != expected or texts[-1] != "Application closed":
        raise Failure(f"{station.name} on a full disk: exit {code}, last line {texts[-1]!r}")
    if not any(PERIODIC_SAVE_FAILED + '"Write error on file' in t for t in texts):
        raise Failure(f"{station.name} on a full disk: no write error logged")
    history, _ = station.loaded_files()
    saved = last_number(texts, SAVED) or before.count
    if history.count < saved or not history.starts_with(before):
        raise Failure(f"{station.name} on a full disk: {history.count} records, "
                      f"{saved} saved")
    station.check_added(before, history)
    figures[f"{station.name} on a full disk"] = (
        f"{count_starting(texts, PERIODIC_SAVE_FAILED)} saves failed, "
        f"{history.count - before.count} records kept of {len(station.readings())}")

    station.start()
    station.wait_until_started(history.count)
    station.save_and_stop(history, "after the full disk")


def damaged_at_start(station, figures):
    """A history file cut short: set aside, the ".back" copy loaded and kept."""
    backup = History(station.backup)
    size = os.path.getsize(station.file)
    with open(station.file, "r+b") as f:
        f.truncate(HEADER_SIZE + (size - HEADER_SIZE) // RECORD_SIZE // 2 * RECORD_SIZE)
    station.start()
    texts = wait_for(lambda: (t := station.texts()) and "Points loaded" in t and t, 60,
                     f"start of {station.name}")
    restored = last_number(texts, "History restored from DatasVesk.bin.back,  points number : ")
    if restored != backup.count or not count_starting(texts, "Point loading -> "):
        raise Failure(f"{station.name}: the damaged file was not replaced by its copy: {texts}")
    if len(glob.glob(os.path.join(station.folder, HISTORY + ".damaged-*"))) != 1:
        raise Failure(f"{station.name}: the damaged file was not set aside")
    station.save_and_stop(backup, "after the damaged start")
    figures[f"{station.name} damaged at start"] = (
        f"{backup.count} records restored from the .back copy")


def run(args, figures):
    build = Build(args.build)
    rng = random.Random(args.seed)
    root = tempfile.mkdtemp(prefix="vesk-kills-")
    stations = []
    figures.update({"seed": args.seed, "save period (s)": args.save_period, "kills": 0,
                    "kills that cut a save short": 0})
    began = time.monotonic()
    try:
        for name in ("monitor", "serve"):
            stations.append(Station(name, build, root, args))
        for k in range(args.kills):
            kill_once(stations[k % 2], rng, args.save_period, figures)
        figures["failures"] = 0
        figures["kill loop (s)"] = round(time.monotonic() - began)
        for station in stations:
            full_disk_then_room(station, figures)
            damaged_at_start(station, figures)
    finally:
        stop_all([s.process for s in stations], [s.board for s in stations])
        clean_up(root, args.keep)


def options(parser):
    parser.add_argument("--kills", type=int, default=200)
    parser.add_argument("--save-period", type=float, default=0.5, help="seconds")
    parser.add_argument("--history-days", type=float, default=1)


if __name__ == "__main__":
    sys.exit(run_script("kill loop", __doc__, options, run))
