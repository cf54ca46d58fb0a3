"""Runs the real Windows programs under Wine for the integration tests.

Every program's standard output is collected line by line on a thread, so a test can wait
for a line with a time-out instead of sleeping. The Wine prefix comes from $WINEPREFIX.
"""
import itertools
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest

WINE = "/usr/lib/wine/wine64"


def wine_env(extra=None):
    env = dict(os.environ)
    env.update(extra or {})
    env["PATH"] = "/usr/lib/wine:" + env.get("PATH", "")
    env["WINEDEBUG"] = "-all"
    # A crash must end the program, not wait in Wine's debugger.
    overrides = [o for o in env.get("WINEDLLOVERRIDES", "").split(";") if o]
    env["WINEDLLOVERRIDES"] = ";".join(overrides + ["winedbg.exe=d"])
    return env


def exe(variable):
    path = os.environ.get(variable)
    if not path or not os.path.exists(path):
        raise unittest.SkipTest(f"{variable} does not name a built program")
    return path


class Program:
    """A Windows program under Wine; its output lines are kept as they arrive."""

    def __init__(self, path, *args, stdin=False, env=None):
        self.name = os.path.basename(path)
        self._lines = []
        self._arrivals = []
        self._cond = threading.Condition()
        self.proc = subprocess.Popen(
            [WINE, path, *args],
            stdin=subprocess.PIPE if stdin else subprocess.DEVNULL,
            stdout=subprocess.PIPE,
            stderr=subprocess.DEVNULL,
            env=wine_env(env),
        )
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

    def _read(self):
        for raw in self.proc.stdout:
            line = raw.decode("latin-1").rstrip("\r\n")
            with self._cond:
                self._lines.append(line)
                self._arrivals.append(time.monotonic())
                self._cond.notify_all()

    def lines(self):
        with self._cond:
            return list(self._lines)

    def arrival(self, index):
        """When line `index` was read (time.monotonic)."""
        with self._cond:
            return self._arrivals[index]

    def wait_for(self, predicate, timeout=10.0, start=0):
        """Waits for a line (from index `start` on) for which predicate is true; returns its index."""
        deadline = time.monotonic() + timeout
        with self._cond:
            while True:
                for i in range(start, len(self._lines)):
                    if predicate(self._lines[i]):
                        return i
                left = deadline - time.monotonic()
                if left <= 0:
                    raise AssertionError(
                        f"{self.name}: no awaited line within {timeout} s; output was:\n"
                        + "\n".join(self._lines[-40:]))
                self._cond.wait(left)

    def write(self, line):
        self.proc.stdin.write((line + "\n").encode("latin-1"))
        self.proc.stdin.flush()

    def running(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout=10.0):
        return self.proc.wait(timeout=timeout)

    def kill(self):
        if self.running():
            self.proc.kill()
            self.proc.wait(timeout=10)
        if self.proc.stdin:
            self.proc.stdin.close()
        self._reader.join(timeout=5)
        self.proc.stdout.close()


class Simulator(Program):
    """A simulator driven line by line on its standard input; its log lines read
    "<ms> <EVENT> <details>"."""

    def __init__(self, variable, *commands, env=None):
        super().__init__(exe(variable), stdin=True, env=env)
        self.wait_event("READY")
        for command in commands:
            self.write(command)

    def events(self, kind):
        """The details of every logged event of this kind, in order."""
        out = []
        for line in self.lines():
            parts = line.split(" ", 2)
            if len(parts) >= 2 and parts[1] == kind:
                out.append(parts[2] if len(parts) > 2 else "")
        return out

    def event_count(self):
        return len(self.lines())

    def wait_event(self, kind, details=None, timeout=10.0, count=1, start=0):
        """Waits until `count` events of `kind` (whose details match the regex) were logged
        from line `start` on; returns the last of them."""
        pattern = re.compile(details) if details else None
        seen = 0
        index = start
        while True:
            index = self.wait_for(lambda line: _is_event(line, kind, pattern), timeout, index)
            seen += 1
            if seen == count:
                return self.lines()[index]
            index += 1

    def quit(self):
        if self.running():
            try:
                self.write("quit")
                self.wait_exit(5)
            except (OSError, subprocess.TimeoutExpired):
                pass
        self.kill()


class PanelSim(Simulator):
    """The control panel's stand-in on the bridge link."""

    def __init__(self, *commands):
        super().__init__("PANELSIM_EXE", *commands)

    def reports(self, start=0):
        """The status reports as (link status, [lParam bytes from the lowest])."""
        out = []
        for line in self.lines()[start:]:
            parts = line.split()
            if len(parts) == 7 and parts[1] == "STATUS":
                out.append((int(parts[2], 16), [int(b, 16) for b in parts[3:]]))
        return out


class SkypeSim(Simulator):
    """The Skype simulator."""

    def __init__(self, *commands):
        super().__init__("SKYPESIM_EXE", *commands)

    def commands(self):
        return self.events("CMD")


class HandsetSim(Simulator):
    """Simulated handsets; the bridge must be started with `handsets=True` to see them."""

    def __init__(self, pipe, *commands):
        self.pipe = pipe
        super().__init__("HANDSETSIM_EXE", *commands, env={"HANDSETSIM_PIPE": pipe})

    def outputs(self, dev=1, start=0):
        """The mode reports written to device `dev`, as lists of bytes."""
        out = []
        for line in self.lines()[start:]:
            parts = line.split(" ", 4)
            if len(parts) == 5 and parts[1] == "OUTPUT" and parts[2] == f"dev={dev}":
                out.append([int(b, 16) for b in parts[4].split()])
        return out

    def modes(self, dev=1, start=0):
        """(mode, ring tone) of each mode report written to device `dev`."""
        return [(report[2], report[3]) for report in self.outputs(dev, start)]


class DesktopSim(Simulator):
    """What surrounds the control panel: the notification area, a bridge stand-in, and a
    look at the panel's window."""

    def __init__(self, *commands):
        super().__init__("DESKTOPSIM_EXE", *commands)

    def look(self):
        """The panel window's state as a dict ("none" when there is no panel)."""
        start = self.event_count()
        self.write("look")
        index = self.wait_for(lambda l: _is_event(l, "LOOK", None), 10, start)
        line = self.lines()[index]
        details = line.split(" ", 2)[2]
        return dict(item.split("=", 1) for item in details.split()) if details != "none" else None

    def wait_look(self, predicate, timeout=10.0, interval=0.1):
        """Looks until the state satisfies predicate; returns it and the seconds it took."""
        started = time.monotonic()
        while True:
            state = self.look()
            if state is not None and predicate(state):
                return state, time.monotonic() - started
            if time.monotonic() - started > timeout:
                raise AssertionError(f"panel never reached the awaited state; last: {state}")
            time.sleep(interval)


class AudioLog:
    """The stand-in winmm.dll's log (tools/winmmsim/README.md), read as it grows, each line
    with the time it was first seen; the file is looked at every 20 ms."""

    POLL = 0.02

    def __init__(self, path):
        self.path = path
        self._lines = []
        self._arrivals = []
        self._cond = threading.Condition()
        self._stop = threading.Event()
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

    def _read(self):
        offset = 0
        pending = b""
        while not self._stop.wait(self.POLL):
            try:
                with open(self.path, "rb") as log:
                    log.seek(offset)
                    data = log.read()
            except FileNotFoundError:
                continue
            offset += len(data)
            pending += data
            *complete, pending = pending.split(b"\r\n")
            if complete:
                now = time.monotonic()
                with self._cond:
                    for raw in complete:
                        self._lines.append(raw.decode("latin-1"))
                        self._arrivals.append(now)
                    self._cond.notify_all()

    def close(self):
        self._stop.set()
        self._reader.join(timeout=5)

    def lines(self):
        with self._cond:
            return list(self._lines)

    def arrival(self, index):
        with self._cond:
            return self._arrivals[index]

    def sets(self, control, start=0):
        """(line index, values) of each SET of this control id, from line `start` on."""
        pattern = re.compile(rf"^SET mixer=\d+ control={control} .* values=([\d,]+) ")
        out = []
        for index, line in enumerate(self.lines()[start:], start):
            match = pattern.match(line)
            if match:
                out.append((index, [int(v) for v in match.group(1).split(",")]))
        return out

    def wait_for(self, regex, timeout=10.0, start=0):
        """Waits for a line (from index `start` on) that the regex finds; returns its index."""
        pattern = re.compile(regex)
        deadline = time.monotonic() + timeout
        with self._cond:
            while True:
                for i in range(start, len(self._lines)):
                    if pattern.search(self._lines[i]):
                        return i
                left = deadline - time.monotonic()
                if left <= 0:
                    raise AssertionError(f"winmm stand-in: no line matching {regex!r} within {timeout} s; log was:\n"
                                         + "\n".join(self._lines[-40:]))
                self._cond.wait(left)

    def wait_set(self, control, values, timeout=10.0, start=0):
        """Waits until this control was set to these values; returns the line's index."""
        text = ",".join(str(v) for v in values)
        return self.wait_for(rf"^SET mixer=\d+ control={control} .* values={text} ", timeout, start)


def _is_event(line, kind, pattern):
    parts = line.split(" ", 2)
    if len(parts) < 2 or parts[1] != kind:
        return False
    return pattern is None or pattern.search(parts[2] if len(parts) > 2 else "") is not None


def run(path, *args, timeout=20.0):
    """Runs a program to its end and returns its exit code. What Wine said on the way is
    shown when the code is not 0, so a failing test tells why."""
    # A file, not a pipe: programs that this one starts may keep it open long after it ended.
    with tempfile.TemporaryFile() as said:
        code = subprocess.run([WINE, path, *args], env=wine_env(), stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=said, timeout=timeout).returncode
        if code != 0:
            said.seek(0)
            sys.stderr.write(f"{os.path.basename(path)} {' '.join(args)}: exit code {code}\n"
                             + said.read().decode("latin-1"))
    return code


def end_prefix(prefix):
    """Ends every process of a Wine prefix, its wine server included: a prefix's system
    processes can outlive a `wineserver -k`."""
    subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=wine_env({"WINEPREFIX": prefix}),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
    marker = f"WINEPREFIX={prefix}".encode()
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/environ", "rb") as environ:
                if marker in environ.read().split(b"\0"):
                    os.kill(int(pid), 9)
        except (OSError, ProcessLookupError):
            pass


def reg_query(key, value):
    """The data of a registry value as `reg query` prints it, or None when it is missing."""
    result = subprocess.run([WINE, "reg", "query", key, "/v", value], env=wine_env(),
                            capture_output=True, timeout=30)
    for line in result.stdout.decode("latin-1").splitlines():
        parts = line.split(None, 2)
        if len(parts) >= 3 and parts[0] == value:
            return parts[2].strip()
    return None


def reg_add(key, value, data, kind="REG_SZ"):
    subprocess.run([WINE, "reg", "add", key, "/v", value, "/t", kind, "/d", data, "/f"], env=wine_env(),
                   capture_output=True, timeout=30, check=True)


def reg_values(key):
    """Every value of a key as {name: (type, data)} as `reg query` prints them (names may hold
    blanks; the default value is named ""), or None when the key is missing."""
    result = subprocess.run([WINE, "reg", "query", key], env=wine_env(),
                            capture_output=True, timeout=30)
    if result.returncode != 0:
        return None
    values = {}
    for line in result.stdout.decode("latin-1").splitlines():
        match = re.match(r"^    (.*?)    (REG_\w+)(?:    (.*))?$", line)
        if match:
            name = "" if match.group(1) == "(Default)" else match.group(1)
            values[name] = (match.group(2), match.group(3) or "")
    return values


def reg_delete(key):
    subprocess.run([WINE, "reg", "delete", key, "/f"], env=wine_env(),
                   capture_output=True, timeout=30)


def _wine_path(path):
    """A Linux path as Windows programs under Wine name it (drive Z: is the root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


_pipe_names = itertools.count(1)


def run_once(case_class):
    """Runs a WineTestCase's runTest once outside unittest, with its set-up and clean-up, as
    the demo and the benchmarks do."""
    case = case_class()
    case.setUp()
    try:
        case.runTest()
    finally:
        case.tearDown()
        case.doCleanups()


class WineTestCase(unittest.TestCase):
    """Ends every program a test started, so none outlives it and holds the desktop."""

    def setUp(self):
        self._programs = []
        self._handset_pipe = None
        self._panel_folder = None
        self._audio_env = None

    def tearDown(self):
        for program in reversed(self._programs):
            if isinstance(program, Simulator):
                program.quit()
            else:
                program.kill()

    def start(self, program):
        self._programs.append(program)
        return program

    def skypesim(self, *commands):
        return self.start(SkypeSim(*commands))

    def panelsim(self, *commands):
        return self.start(PanelSim(*commands))

    def handsetsim(self, *commands):
        # A pipe name of its own, so nothing left of another test can answer.
        self._handset_pipe = f"handsetsim{os.getpid()}x{next(_pipe_names)}"
        return self.start(HandsetSim(self._handset_pipe, *commands))

    def desktopsim(self, *commands):
        return self.start(DesktopSim(*commands))

    def panel_folder(self):
        """This test's folder with its own copy of the control panel, where the panel keeps
        its setup.set; the same for every start of the panel in the test."""
        if not self._panel_folder:
            self._panel_folder = tempfile.mkdtemp(prefix="trayconsole-")
            self.addCleanup(shutil.rmtree, self._panel_folder, True)
            shutil.copy(exe("TRAYCONSOLE_EXE"), self._panel_folder)
        return self._panel_folder

    def panel_exe(self):
        return os.path.join(self.panel_folder(), "trayconsole.exe")

    def audio(self, config=None):
        """The stand-in winmm.dll beside this test's panel, with `config` (its configuration
        lines; None: the default machine). Returns the DLL's log; panels started from now
        on load the stand-in."""
        folder = self.panel_folder()
        shutil.copy(os.path.join(os.environ["WINMMSIM_DLLS"], "winmm.dll"), folder)
        log_path = os.path.join(folder, "winmmsim.log")
        self._audio_env = {"WINMMSIM_LOG": _wine_path(log_path), "WINEDLLOVERRIDES": "winmm=n,b"}
        if config is not None:
            config_path = os.path.join(folder, "winmmsim-test.cfg")
            with open(config_path, "w") as file:
                file.write("\n".join(config) + "\n")
            self._audio_env["WINMMSIM_CONFIG"] = _wine_path(config_path)
        log = AudioLog(log_path)
        self.addCleanup(log.close)
        return log

    def panel(self, *args, desktop=None):
        """The control panel, this test's copy; with `desktop`, once its window can be found."""
        panel = self.start(Program(self.panel_exe(), *args, env=self._audio_env))
        if desktop:
            desktop.wait_look(lambda state: True)
        return panel

    def bridge(self, handsets=False):
        """The bridge; with `handsets`, a copy of it beside the stand-in HID and device-setup
        libraries, talking to this test's handset simulator."""
        if not handsets:
            return self.start(Program(exe("HANDSETLINK_EXE")))
        assert self._handset_pipe, "start the handset simulator first"
        folder = tempfile.mkdtemp(prefix="handsetlink-")
        self.addCleanup(shutil.rmtree, folder, True)
        shutil.copy(exe("HANDSETLINK_EXE"), folder)
        dlls = os.environ["HANDSETSIM_DLLS"]
        for dll in ("hid.dll", "SetupApi.dll"):
            shutil.copy(os.path.join(dlls, dll), folder)
        env = {"HANDSETSIM_PIPE": self._handset_pipe,
               "WINEDLLOVERRIDES": "hid,setupapi=n,b"}
        return self.start(Program(os.path.join(folder, "handsetlink.exe"), env=env))
