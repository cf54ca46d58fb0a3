"""The Windows audio endpoints under Wine, for the tests: the endpoint simulator registered as
the MMDeviceEnumerator class's in-process server, or Wine's own endpoints over a PulseAudio
daemon of the test's own with a named speaker and microphone."""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

from winetest import WINE, Simulator, reg_add, reg_query, reg_values, wine_env

# CLSID_MMDeviceEnumerator. Wine 8 looks its server up under HKLM only (not in the user's
# classes), so the test sets the machine's value and puts Wine's own back afterwards.
ENUMERATOR_SERVER = r"HKLM\Software\Classes\CLSID\{BCDE0395-E52F-467C-8E3D-C4579291692E}\InprocServer32"
WINE_DRIVERS = r"HKCU\Software\Wine\Drivers"
WINE_ENUMERATOR_SERVER = r"C:\windows\system32\mmdevapi.dll"


def wine_path(path):
    """A Linux path as Windows programs under Wine name it (drive Z: is the root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def _set_default(key, data):
    subprocess.run([WINE, "reg", "add", key, "/ve", "/d", data, "/f"], env=wine_env(),
                   capture_output=True, timeout=30, check=True)


class EndpointProbe(Simulator):
    """tools/endpointprobe: the real endpoint glue, driven line by line."""

    def __init__(self, env=None):
        super().__init__("ENDPOINTPROBE_EXE", env=env)

    def ask(self, command, kind, details=None, timeout=10.0):
        """Writes a command and waits for the event it leads to; returns its details."""
        start = self.event_count()
        self.write(command)
        line = self.wait_event(kind, details, timeout=timeout, start=start)
        return line.split(" ", 2)[2] if line.count(" ") >= 2 else ""


class StandInEndpoints:
    """The endpoint simulator as the enumerator's server for the time of a `with`; its
    configuration (text, or None for its default machine) and its log in a folder of its own."""

    def __init__(self, config=None):
        self.dll = os.path.join(os.environ.get("MMDEVSIM_DLLS", ""), "mmdevsim.dll")
        if not os.path.exists(self.dll):
            raise unittest.SkipTest("MMDEVSIM_DLLS does not name the built endpoint simulator")
        self.folder = tempfile.mkdtemp(prefix="mmdevsim")
        self.log_path = os.path.join(self.folder, "mmdevsim.log")
        self.env = {"MMDEVSIM_LOG": wine_path(self.log_path)}
        if config is not None:
            config_path = os.path.join(self.folder, "mmdevsim.cfg")
            with open(config_path, "w") as f:
                f.write(config)
            self.env["MMDEVSIM_CONFIG"] = wine_path(config_path)
        self._wine_server = None

    def __enter__(self):
        values = reg_values(ENUMERATOR_SERVER) or {}
        self._wine_server = values.get("", ("", ""))[1]
        # A run that ended without putting Wine's own back must not make the stand-in stay.
        if not self._wine_server or "mmdevsim" in self._wine_server:
            self._wine_server = WINE_ENUMERATOR_SERVER
        _set_default(ENUMERATOR_SERVER, wine_path(self.dll))
        return self

    def __exit__(self, *exc):
        _set_default(ENUMERATOR_SERVER, self._wine_server)
        shutil.rmtree(self.folder, ignore_errors=True)

    def lines(self):
        try:
            with open(self.log_path, encoding="latin-1") as f:
                return [line.rstrip("\r\n") for line in f]
        except FileNotFoundError:
            return []

    def wait_for(self, text, timeout=10.0, start=0):
        """Waits for a log line (from index `start` on) that holds `text`; returns its index."""
        deadline = time.monotonic() + timeout
        while True:
            lines = self.lines()
            for i in range(start, len(lines)):
                if text in lines[i]:
                    return i
            if time.monotonic() > deadline:
                raise AssertionError(f"mmdevsim: no line with {text!r}; the log was:\n" + "\n".join(lines[-40:]))
            time.sleep(0.05)


class PulseDaemon:
    """A PulseAudio daemon in a runtime folder of its own, with a null sink and a null source
    described as the handset's speaker and microphone, and the prefix's audio driver set to
    pulse, for the time of a `with`."""

    def __init__(self, speaker, microphone):
        self.speaker = speaker
        self.microphone = microphone
        self.folder = None
        self.proc = None
        self._driver = None
        self._said = None

    def __enter__(self):
        daemon = shutil.which("pulseaudio")
        if daemon is None:
            raise unittest.SkipTest("pulseaudio is not installed (scripts/setup.sh installs it)")
        self.folder = tempfile.mkdtemp(prefix="pulse")
        socket = os.path.join(self.folder, "native")
        self._said = open(os.path.join(self.folder, "daemon.log"), "wb")
        env = dict(os.environ, HOME=self.folder, XDG_RUNTIME_DIR=self.folder, XDG_CONFIG_HOME=self.folder)
        env.pop("PULSE_SERVER", None)
        self.env = {"PULSE_SERVER": "unix:" + socket}
        self.proc = subprocess.Popen(
            [daemon, "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--system=no",
             "--disable-shm=yes", "-L", f"module-native-protocol-unix auth-anonymous=1 socket={socket}",
             "-L", f"module-null-sink sink_name=handset_speaker "
                   f"sink_properties=\"device.description='{self.speaker}'\"",
             "-L", f"module-null-source source_name=handset_mic description=\"{self.microphone}\""],
            env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=self._said)
        deadline = time.monotonic() + 10
        while not os.path.exists(socket):
            if self.proc.poll() is not None or time.monotonic() > deadline:
                said = open(os.path.join(self.folder, "daemon.log"), encoding="latin-1").read()
                self.__exit__()
                raise AssertionError("the PulseAudio daemon did not start:\n" + said)
            time.sleep(0.05)
        self._driver = reg_query(WINE_DRIVERS, "Audio")
        reg_add(WINE_DRIVERS, "Audio", "pulse")
        return self

    def __exit__(self, *exc):
        if self._driver is not None or self.proc is not None:
            reg_add(WINE_DRIVERS, "Audio", self._driver or "")
        if self.proc is not None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(timeout=10)
            self.proc = None
        if self._said is not None:
            self._said.close()
            self._said = None
        if self.folder:
            shutil.rmtree(self.folder, ignore_errors=True)

