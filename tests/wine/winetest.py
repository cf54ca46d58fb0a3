"""Runs the real Windows programs under Wine for the integration tests.

Every program's standard output is collected line by line on a thread, so a test can wait
for a line with a time-out instead of sleeping. The Wine prefix comes from $WINEPREFIX.
"""
import os
import re
import subprocess
import threading
import time
import unittest

WINE = "/usr/lib/wine/wine64"


def wine_env(extra=None):
    env = dict(os.environ)
    env["PATH"] = "/usr/lib/wine:" + env.get("PATH", "")
    env["WINEDEBUG"] = "-all"
    overrides = [o for o in env.get("WINEDLLOVERRIDES", "").split(";") if o]
    env["WINEDLLOVERRIDES"] = ";".join(overrides + ["winedbg.exe=d"])
    env.update(extra or {})
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
                self._cond.notify_all()

    def lines(self):
        with self._cond:
            return list(self._lines)

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

    def __init__(self, variable, *commands):
        super().__init__(exe(variable), stdin=True)
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


def _is_event(line, kind, pattern):
    parts = line.split(" ", 2)
    if len(parts) < 2 or parts[1] != kind:
        return False
    return pattern is None or pattern.search(parts[2] if len(parts) > 2 else "") is not None


def run(path, *args, timeout=20.0):
    """Runs a program to its end and returns its exit code."""
    return subprocess.run([WINE, path, *args], env=wine_env(), stdin=subprocess.DEVNULL,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=timeout).returncode


def reg_query(key, value):
    """The data of a registry value as `reg query` prints it, or None when it is missing."""
    result = subprocess.run([WINE, "reg", "query", key, "/v", value], env=wine_env(),
                            capture_output=True, timeout=30)
    for line in result.stdout.decode("latin-1").splitlines():
        parts = line.split()
        if len(parts) >= 3 and parts[0] == value:
            return parts[2]
    return None


def reg_delete(key):
    subprocess.run([WINE, "reg", "delete", key, "/f"], env=wine_env(),
                   capture_output=True, timeout=30)


class WineTestCase(unittest.TestCase):
    """Ends every program a test started, so none outlives it and holds the desktop."""

    def setUp(self):
        self._programs = []

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

    def bridge(self):
        return self.start(Program(exe("HANDSETLINK_EXE")))
