"""What the fault soak and the kill loop share: the programs of a build, program folders, the
simulated board, the MQTT broker, the event logs, history files and resident memory."""

import argparse
import glob
import os
import re
import shutil
import signal
import socket
import struct
import subprocess
import sys
import threading
import time

# A history file: the tag, the record count and the 80-byte records (history/history_format.h).
HISTORY_TAG = 0x1AE1A12F
HEADER_SIZE = 8
RECORD_SIZE = 80
HISTORY = "DatasVesk.bin"
BACKUP = HISTORY + ".back"

SAVED = "Data saved : DatasVesk.bin,  points number : "
LOADED = "Data loaded : DatasVesk.bin,  points number : "
PERIODIC_SAVE_OK = "Data period recording OK -- each mins"
PERIODIC_SAVE_FAILED = "Error during periodic data recording : "


class Failure(Exception):
    """A check that did not hold."""


def wait_for(condition, seconds, what, interval=0.05):
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"no {what} within {seconds} s")
        time.sleep(interval)


class Build:
    """The programs of a build folder."""

    def __init__(self, build):
        self.bin = os.path.abspath(os.path.join(build, "bin"))
        self.monitor = os.path.join(self.bin, "vesk-monitor")
        self.cli = os.path.join(self.bin, "vesk-cli")
        self.sim = os.path.join(self.bin, "vesk-board-sim")
        for program in (self.monitor, self.cli, self.sim):
            if not os.access(program, os.X_OK):
                raise Failure(f"{program} is not built")

    def generate_history(self, path, days):
        subprocess.run([self.cli, "history", "generate", "--days", str(days), path], check=True,
                       stdout=subprocess.DEVNULL)


def write_settings(folder, misc, sections=None):
    """VeskLevel.ini of a program folder: COM3 and the "Misc" keys given, then other sections."""
    lines = ["[COM]", "Value=3", "[Misc]"] + [f"{k}={v}" for k, v in misc.items()]
    for name, keys in (sections or {}).items():
        lines += [f"[{name}]"] + [f"{k}={v}" for k, v in keys.items()]
    with open(os.path.join(folder, "VeskLevel.ini"), "w", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")


# --- event logs --------------------------------------------------------------------------------

def log_files(folder):
    return sorted(glob.glob(os.path.join(folder, "Log_*.txt")))


def log_texts(files):
    """The texts of the lines of these log files, without their time stamps."""
    texts = []
    for name in files:
        with open(name, encoding="utf-8", errors="replace") as f:
            for line in f:
                line = line.rstrip("\r\n")
                if line.strip():
                    texts.append(line.split(" : ", 1)[1] if " : " in line else line)
    return texts


def last_number(texts, start):
    """The number ending the last text that starts with `start`; None if there is none."""
    for text in reversed(texts):
        if text.startswith(start):
            return int(text[len(start):])
    return None


def count_starting(texts, start):
    return sum(text.startswith(start) for text in texts)


# --- history files -----------------------------------------------------------------------------

class History:
    """A history file read by the loader's rules: a known tag and a count the file can hold;
    bytes past the counted records are not part of it."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if len(data) < HEADER_SIZE:
            raise Failure(f"{path}: {len(data)} bytes, no header")
        tag, count = struct.unpack_from("<II", data)
        if tag != HISTORY_TAG:
            raise Failure(f"{path}: tag {tag:#x}")
        end = HEADER_SIZE + count * RECORD_SIZE
        if len(data) < end:
            raise Failure(f"{path}: {count} records announced, room for "
                          f"{(len(data) - HEADER_SIZE) // RECORD_SIZE}")
        self.count = count
        self.records = data[HEADER_SIZE:end]
        self.extra = len(data) - end

    def record(self, i):
        return self.records[i * RECORD_SIZE:(i + 1) * RECORD_SIZE]

    def date(self, i):
        return struct.unpack_from("<d", self.records, i * RECORD_SIZE)[0]

    def temp_ext(self, i):
        return struct.unpack_from("<d", self.records, i * RECORD_SIZE + 8)[0]

    def starts_with(self, other):
        """Whether this history's first records are the other's, byte for byte."""
        return self.count >= other.count and self.records[:len(other.records)] == other.records


def file_count(path):
    return History(path).count if os.path.exists(path) else 0


# --- processes -----------------------------------------------------------------------------------

def vm_rss_kb(pid):
    """Resident memory of a running process; None once it is gone."""
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        return None
    return None


def ended(process, seconds):
    """The exit code once the process ended; None (and killed) when it did not in time."""
    try:
        return process.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        return None


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def remove_link(path):
    try:
        os.unlink(path)
    except FileNotFoundError:
        pass


class Board:
    """vesk-board-sim on ports/COM3 of a program folder; the faults it names on its standard
    error are kept in a file of the folder's own."""

    FAULT = re.compile(r"^Fault: ([a-z -]+?)( \(\d+ ms\))?$")

    def __init__(self, build, folder, faults_file, args):
        self.build = build
        self.folder = folder
        self.faults_file = faults_file
        self.args = args
        self.process = None

    def start(self, seed, paused=False):
        errors = open(self.faults_file, "a")
        self.process = subprocess.Popen(
            [self.build.sim, "--folder", self.folder, "--port", "3", "--seed", str(seed)] +
            self.args, stdout=subprocess.PIPE, stderr=errors, text=True)
        errors.close()
        if not self.process.stdout.readline():
            raise Failure(f"the simulated board of {self.folder} did not start")
        if paused:
            self.process.send_signal(signal.SIGUSR1)

    def resume_faults(self):
        self.process.send_signal(signal.SIGUSR2)

    def stop(self, sig=signal.SIGTERM):
        if self.process and self.process.poll() is None:
            # The link goes first: a killed board leaves it behind, pointing at a terminal
            # number the system soon gives to another test's board, which a station retrying
            # on ports/COM3 would then open.
            remove_link(os.path.join(self.folder, "ports", "COM3"))
            self.process.send_signal(sig)
            self.process.wait(timeout=30)
        self.process = None

    def faults(self):
        """How many faults of each kind it injected so far."""
        counts = {}
        with open(self.faults_file, encoding="utf-8", errors="replace") as f:
            for line in f:
                match = self.FAULT.match(line.rstrip("\n"))
                if match:
                    counts[match.group(1)] = counts.get(match.group(1), 0) + 1
        return counts


class Broker:
    """Debian's mosquitto on a free port of 127.0.0.1, started and stopped at will on that
    port."""

    def __init__(self, folder):
        self.port = free_port()
        self.config = os.path.join(folder, "mosquitto.conf")
        with open(self.config, "w") as f:
            f.write(f"listener {self.port} 127.0.0.1\nuser root\npersistence false\n"
                    f"log_dest file {os.path.join(folder, 'mosquitto.log')}\n"
                    "allow_anonymous true\n")
        self.process = None
        self.program = shutil.which("mosquitto") or "/usr/sbin/mosquitto"

    def accepts(self):
        with socket.socket() as s:
            return s.connect_ex(("127.0.0.1", self.port)) == 0

    def start(self):
        self.process = subprocess.Popen([self.program, "-c", self.config],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: self.process.poll() is not None or self.accepts(), 20, "broker")
        if self.process.poll() is not None:
            raise Failure(f"the broker ended at once ({self.process.returncode})")

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=30)
        self.process = None


class Subscriber:
    """mosquitto_sub on every topic under `prefix`: the topics of the messages it got, with
    the time each came. Started again by the caller after the broker was."""

    def __init__(self, port, prefix):
        self.port = port
        self.prefix = prefix
        self.messages = []  # (monotonic time, topic)
        self.lock = threading.Lock()
        self.process = None

    def start(self):
        self.process = subprocess.Popen(
            ["mosquitto_sub", "-h", "127.0.0.1", "-p", str(self.port), "-t", self.prefix + "/#",
             "-v"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, errors="replace")
        threading.Thread(target=self._read, args=(self.process,), daemon=True).start()

    def _read(self, process):
        for line in process.stdout:
            with self.lock:
                self.messages.append((time.monotonic(), line.split(" ", 1)[0]))

    def stop(self):
        if self.process:
            self.process.terminate()
            self.process.wait(timeout=30)
        self.process = None

    def topics_since(self, moment):
        with self.lock:
            return {topic for when, topic in self.messages if when >= moment}


class LineReader:
    """The lines a child prints, read by a thread as they come."""

    def __init__(self, stream):
        self.lines = []
        self.lock = threading.Lock()
        self.thread = threading.Thread(target=self._read, args=(stream,), daemon=True)
        self.thread.start()

    def _read(self, stream):
        for line in stream:
            with self.lock:
                self.lines.append(line.rstrip("\n"))

    def snapshot(self):
        with self.lock:
            return list(self.lines)


def monitor_folder(build, folder):
    """A program folder holding its own copy of the monitor (the program folder is the
    executable's) and a private temporary folder, so its single-instance block and local
    server are its own and no other monitor on the machine meets them."""
    os.makedirs(folder, exist_ok=True)
    shutil.copy2(build.monitor, os.path.join(folder, "vesk-monitor"))
    os.makedirs(os.path.join(folder, "tmp"), exist_ok=True)


def start_monitor(folder, preexec=None):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", TMPDIR=os.path.join(folder, "tmp"))
    return subprocess.Popen([os.path.join(folder, "vesk-monitor")], cwd=folder, env=env,
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, preexec_fn=preexec)


def start_serve(build, folder, log_folder, extra=(), preexec=None):
    os.makedirs(log_folder, exist_ok=True)
    return subprocess.Popen([build.cli, "--log-folder", log_folder, "serve", "--folder", folder,
                             "--json", *extra], stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                            preexec_fn=preexec)


def json_field(line, name):
    """The raw text of a field of serve's flat JSON line; None when it has none."""
    match = re.search('"' + re.escape(name) + r'":("(?:[^"\\]|\\.)*"|[^,}]*)', line)
    return match.group(1) if match else None


def serve_polls(lines):
    """serve's poll lines: (poll number, date, failed) each."""
    polls = []
    for line in lines:
        poll = json_field(line, "Poll")
        date = json_field(line, "Date")
        if poll is None or date is None:
            continue
        polls.append((int(poll), float(date), json_field(line, "ErrorMes") is not None))
    return polls


GET_DATA = re.compile(r"^GetData-> (-?\d+\.\d)")


def monitor_readings(texts):
    """The outside temperature text of each successful poll the log shows ("12.3")."""
    return [m.group(1) for m in map(GET_DATA.match, texts) if m]


# --- the scripts' frame ------------------------------------------------------------------------

def stop_all(processes, boards):
    """Whatever still runs once a script ends, passed or failed."""
    for process in processes:
        if process and process.poll() is None:
            process.kill()
            process.wait()
    for board in boards:
        board.stop()


def clean_up(root, keep):
    """Removes the script's folders, unless asked to keep them or a check failed (called
    from a finally clause, it sees the exception on its way out)."""
    if keep or sys.exc_info()[0] is not None:
        print(f"kept: {root}")
    else:
        shutil.rmtree(root, ignore_errors=True)


def run_script(name, doc, add_options, run):
    """Parses the options (--build, --seed, --keep and the script's own), runs, prints the
    figures the run put into the dictionary it is given, passed or failed; the exit code."""
    parser = argparse.ArgumentParser(description=doc.splitlines()[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--keep", action="store_true", help="keep the folders")
    add_options(parser)
    args = parser.parse_args()
    began = time.monotonic()
    figures = {}
    try:
        run(args, figures)
    except Failure as e:
        failure = e
    else:
        failure = None
    for key, value in figures.items():
        if isinstance(value, dict):
            print(f"{key}:")
            for k, v in value.items():
                print(f"  {k}: {v}")
        else:
            print(f"{key}: {value}")
    if failure:
        print(f"{name} FAILED: {failure}")
        return 1
    print(f"{name} passed in {time.monotonic() - began:.0f} s")
    return 0
