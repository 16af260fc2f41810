#!/usr/bin/env python3
"""Fault soak: the monitor (offscreen) and vesk-cli serve, each in a program folder of its own
with a history of some days, poll their own simulated board in fast mode (every second) and
publish to one MQTT broker, while

- each board spoils a share of its replies at random (--fault-mix: silence, late replies, bad
  checksums, bad start bytes, short and over-long replies),
- each board is killed and started again now and then (a new process, a new terminal, the same
  ports/COM3), and
- the broker is stopped and started again on the same port.

Afterwards both are stopped by SIGTERM and the run passes when:
- neither crashed nor hung (each wrote a poll line at least every HANG_SECONDS, ended within a
  minute of SIGTERM with exit code 0, and said "Application closed");
- the history file holds exactly one record per successful poll, in order: serve's printed
  dates are the records' dates, the monitor's logged outside temperatures the records';
- the counters add up: serve's poll numbers run 1..N without a gap and N = readings + failures;
  the log has one "GetData->" per reading and one failure line per failed poll; every lost link
  was restored; the last "Data saved" count is the file's;
- after each broker restart both published again (a subscriber saw their state topics);
- resident memory (VmRSS) stays flat apart from the history: from a quarter of the run to its
  end it grows by less than --memory-slack-kb beyond the new records' bytes.

    tests/soak/fault_soak.py [--build build] [--minutes 30] [--seed 1] [--mix 5]

The figures of a run are printed at the end; docs/RELIABILITY.md holds those of the 30-minute
run. A 2-minute run is the test soak.faults.
"""

import argparse
import os
import random
import signal
import statistics
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from soak_support import (BACKUP, HISTORY, PERIODIC_SAVE_FAILED, PERIODIC_SAVE_OK, RECORD_SIZE,
                          SAVED, Board, Broker, Build, Failure, History, LineReader, Subscriber,
                          clean_up,
                          count_starting, ended, last_number, log_files, log_texts,
                          monitor_folder, monitor_readings, serve_polls, start_monitor,
                          run_script, start_serve, stop_all, vm_rss_kb, wait_for,
                          write_settings)

HANG_SECONDS = 45  # longer than a lost board's time-outs, its downtime and the attempts
SAMPLE_SECONDS = 2


class Station:
    """The monitor or serve with its program folder, its board and its memory samples."""

    def __init__(self, name, build, root, broker_port, args):
        self.name = name
        self.build = build
        self.folder = os.path.join(root, name)
        os.makedirs(self.folder, exist_ok=True)
        self.log_folder = self.folder if name == "monitor" else os.path.join(root, "serve-log")
        write_settings(self.folder,
                       {"Autostart": 1, "Speed": 1, "ReconnectPeriod": 1,
                        "SavePeriod": args.save_period},
                       {"MQTT": {"Enabled": 1, "Host": "127.0.0.1", "Port": broker_port,
                                 "Topic": f"soak/{name}"}})
        build.generate_history(os.path.join(self.folder, HISTORY), args.history_days)
        self.initial = History(os.path.join(self.folder, HISTORY))
        self.board = Board(build, self.folder, os.path.join(root, f"{name}-faults.txt"),
                           ["--fault-mix", str(args.mix), "--speed", str(args.board_speed)])
        self.process = None
        self.out = None
        self.rss = []  # (seconds since the soak began, kB, readings so far)
        self.kills = 0
        self.last_size = -1
        self.last_change = time.monotonic()

    def start(self):
        if self.name == "monitor":
            monitor_folder(self.build, self.folder)
            self.process = start_monitor(self.folder)
        else:
            self.process = start_serve(self.build, self.folder, self.log_folder)
            self.out = LineReader(self.process.stdout)

    def texts(self):
        return log_texts(log_files(self.log_folder))

    def readings(self):
        """How many successful polls it made so far."""
        if self.name == "monitor":
            return len(monitor_readings(self.texts()))
        return sum(not failed for _, _, failed in serve_polls(self.out.snapshot()))

    def sample(self, elapsed):
        if self.process.poll() is not None:
            raise Failure(f"{self.name} ended during the soak ({self.process.returncode})")
        kb = vm_rss_kb(self.process.pid)
        if kb is not None:
            self.rss.append((elapsed, kb, self.readings()))
        # Each poll, good or failed, and each attempt on a lost link writes to the log.
        size = sum(os.path.getsize(f) for f in log_files(self.log_folder))
        if size != self.last_size:
            self.last_size = size
            self.last_change = time.monotonic()
        elif time.monotonic() - self.last_change > HANG_SECONDS:
            raise Failure(f"{self.name} wrote nothing for {HANG_SECONDS} s")

    def kill_board(self, rng):
        self.board.stop(signal.SIGKILL)
        self.kills += 1
        time.sleep(rng.uniform(1, 6))
        self.board.start(rng.randrange(1, 1 << 31))


def check_station(station, figures, duration, args):
    """The checks after the end; adds the station's figures and what did not hold to
    figures["problems"], so a failed run still shows every figure."""
    problems = figures.setdefault("problems", [])

    def expect(holds, problem):
        if not holds:
            problems.append(f"{station.name}: {problem}")

    texts = station.texts()
    history = History(os.path.join(station.folder, HISTORY))
    History(os.path.join(station.folder, BACKUP))  # loads too
    added = history.count - station.initial.count
    expect(history.starts_with(station.initial), "the records it loaded at start are not kept")

    readings = monitor_readings(texts)
    failed = count_starting(texts, "Thread get data call failed -> ")
    if station.name == "monitor":
        shown_failed = count_starting(texts, "RS232 Link Error -> ")
        expect(shown_failed == failed, f"{failed} failed polls, {shown_failed} shown")
        for i, text in enumerate(readings[:added]):
            record = "%.1f" % history.temp_ext(station.initial.count + i)
            if record != text:
                expect(False, f"reading {i + 1} logged {text} °C, its record {record} °C")
                break
        polls = len(readings) + failed
    else:
        printed = serve_polls(station.out.snapshot())
        numbers = [n for n, _, _ in printed]
        expect(numbers == list(range(1, len(numbers) + 1)), "the poll numbers do not run 1..N")
        dates = [date for _, date, bad in printed if not bad]
        failures = sum(bad for _, _, bad in printed)
        expect(len(dates) == len(readings) and failures == failed,
               f"printed {len(dates)} readings and {failures} failures, logged "
               f"{len(readings)} and {failed}")
        for i, date in enumerate(dates[:added]):
            if abs(history.date(station.initial.count + i) - date) > 1e-9:
                expect(False, f"reading {i + 1} dated {date}, its record "
                              f"{history.date(station.initial.count + i)}")
                break
        polls = len(numbers)
    expect(added == len(readings), f"{len(readings)} successful polls, {added} records added")
    expect(last_number(texts, SAVED) == history.count,
           f"last save of {last_number(texts, SAVED)} records, the file holds {history.count}")
    # A board that answered again but failed the connection steps after it is looked for
    # again, and restored once more.
    lost = count_starting(texts, "Link lost -> ")
    restored = count_starting(texts, "Link restored -> ")
    restore_failed = count_starting(texts, "Issue with data link (FATAL ERROR) : ")
    expect(lost == restored - restore_failed,
           f"{lost} links lost, {restored} restored, {restore_failed} of them failed the "
           "connection steps")
    expect(texts[-1] == "Application closed", f"the log ends with \"{texts[-1]}\"")

    # Memory: from a quarter of the run on, apart from the records added meanwhile.
    samples = [(kb, n) for t, kb, n in station.rss if t >= duration / 4]
    reference = statistics.median(kb for kb, _ in samples[:5])
    end = statistics.median(kb for kb, _ in samples[-5:])
    new_records = samples[-1][1] - samples[0][1]
    growth = end - reference - new_records * RECORD_SIZE / 1024
    figures[station.name] = {
        "polls": polls, "readings": len(readings), "failed polls": failed,
        "records added": added, "links lost and restored": lost,
        "restored links that failed the connection steps": restore_failed,
        "board kills": station.kills,
        "periodic saves (failed)": f"{count_starting(texts, PERIODIC_SAVE_OK)} "
                                   f"({count_starting(texts, PERIODIC_SAVE_FAILED)})",
        "MQTT connections": count_starting(texts, "MQTT: connected to "),
        "VmRSS at a quarter, end, max (MB)":
            f"{reference / 1024:.1f}, {end / 1024:.1f}, "
            f"{max(kb for _, kb, _ in station.rss) / 1024:.1f}",
        "growth beyond the records (kB)": round(growth),
        "faults injected": station.board.faults(),
    }
    expect(args.memory_slack_kb < 0 or growth <= args.memory_slack_kb,
           f"memory grew by {growth:.0f} kB beyond the history")


def run(args, figures):
    build = Build(args.build)
    rng = random.Random(args.seed)
    duration = args.minutes * 60
    args.board_speed = max(1, round(86400 / duration))  # a day of readings in the run
    root = tempfile.mkdtemp(prefix="vesk-soak-")
    broker = Broker(root)
    subscriber = Subscriber(broker.port, "soak")
    stations = []
    figures.update({"seed": args.seed, "minutes": args.minutes, "fault mix (%)": args.mix,
                    "problems": []})
    try:
        broker.start()
        subscriber.start()
        for name in ("monitor", "serve"):
            stations.append(Station(name, build, root, broker.port, args))
        # No fault while they connect: a failed first connection is the operator's to see.
        for s in stations:
            s.board.start(rng.randrange(1, 1 << 31), paused=True)
            s.start()
        for s in stations:
            wait_for(lambda: s.readings() > 0 or s.process.poll() is not None, 60,
                     f"first reading of {s.name}")
            s.board.resume_faults()

        start = time.monotonic()
        events = []
        for s in stations:
            for _ in range(max(1, round(duration / 300))):
                events.append((rng.uniform(0.1, 0.9) * duration, "board", s))
        restarts = max(1, round(duration / 360))
        for i in range(restarts):
            # Far enough apart for the publishers' pauses between attempts (30 s at most).
            events.append(((i + 0.5) / restarts * 0.9 * duration, "broker", None))
        events.sort(key=lambda e: e[0])
        broker_restarts = []
        next_sample = 0
        while True:
            elapsed = time.monotonic() - start
            if elapsed >= duration:
                break
            while events and events[0][0] <= elapsed:
                _, what, s = events.pop(0)
                if what == "board":
                    s.kill_board(rng)
                else:
                    subscriber.stop()
                    broker.stop()
                    time.sleep(rng.uniform(1, 5))
                    broker.start()
                    broker_restarts.append(time.monotonic())
                    subscriber.start()
            if elapsed >= next_sample:
                for s in stations:
                    s.sample(elapsed)
                next_sample = elapsed + SAMPLE_SECONDS
            time.sleep(0.2)

        for s in stations:
            s.process.send_signal(signal.SIGTERM)
        for s in stations:
            code = ended(s.process, 60)
            if code != 0:
                raise Failure(f"{s.name} ended with {code} after SIGTERM")
        figures["broker restarts"] = len(broker_restarts)
        for s in stations:
            check_station(s, figures, duration, args)
        for i, moment in enumerate(broker_restarts):
            topics = subscriber.topics_since(moment)
            for s in stations:
                if f"soak/{s.name}/state" not in topics:
                    figures["problems"].append(
                        f"{s.name}: nothing published after broker restart {i + 1}")
        if figures["problems"]:
            raise Failure("; ".join(figures["problems"]))
        del figures["problems"]
    finally:
        stop_all([s.process for s in stations], [s.board for s in stations])
        subscriber.stop()
        broker.stop()
        clean_up(root, args.keep)


def options(parser):
    parser.add_argument("--minutes", type=float, default=30)
    parser.add_argument("--mix", type=int, default=5, help="percent of replies spoiled")
    parser.add_argument("--history-days", type=float, default=30)
    parser.add_argument("--save-period", type=float, default=30, help="seconds")
    parser.add_argument("--memory-slack-kb", type=int, default=4096,
                        help="growth allowed beyond the new records; negative: not checked")


if __name__ == "__main__":
    sys.exit(run_script("fault soak", __doc__, options, run))
