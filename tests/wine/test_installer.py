"""The installer and its uninstaller, unattended, in a fresh Wine prefix: what the installer
adds, the installed programs started as at logon and linked to each other, an update over
running programs, and an uninstall that ends them and leaves nothing behind but the settings
the user asked to keep."""
import glob
import ntpath
import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

from winetest import Program, WineTestCase, end_prefix, reg_values, run, wine_env, WINE

PRODUCT = "Corvane USB Talkpod"
VERSION = "3.3.10.3"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\CorvaneUsbTalkpod"
RINGTONE_KEY = r"HKCU\Software\TALVEK\USB_PHONE_K42"
LINK_RUN_VALUE = "Corvane USB Talkpod Handset Link"
PANEL_RUN_VALUE = "Corvane USB Talkpod Control Panel"
PROGRAMS = ("handsetlink.exe", "trayconsole.exe")
USER_GUIDE = "User Guide.txt"
MAKER_URL = "https://www.corvane.example/"
SKYPE_START_UP = [
    "attach-all 0",
    "answer SEARCH ACTIVECALLS => CALLS",
    "answer GET MUTE => MUTE OFF",
    "answer GET USERSTATUS => USERSTATUS ONLINE",
    "answer GET RINGER => RINGER Speakers",
    "answer GET AUDIO_OUT => AUDIO_OUT Speakers",
    "answer GET AUDIO_IN => AUDIO_IN Microphone",
]
HERE = os.path.dirname(os.path.abspath(__file__))


def installer():
    path = os.environ.get("INSTALLER_EXE", "")
    if not os.path.isfile(path):
        raise AssertionError(f"INSTALLER_EXE does not name a built installer: {path!r}")
    return path


class Installer(WineTestCase):
    @classmethod
    def setUpClass(cls):
        # A prefix of its own, made anew: the installer meets a user profile that has never
        # seen it, and the other tests' programs and settings (or another run of this test)
        # are not in the way.
        cls.prefix = tempfile.mkdtemp(prefix="wineprefix-installer-",
                                      dir=os.environ.get("INSTALLER_PREFIX_DIR"))
        os.environ["WINEPREFIX"] = cls.prefix
        # Wine would copy the Start-menu shortcuts into this machine's own desktop menus.
        overrides = [o for o in os.environ.get("WINEDLLOVERRIDES", "").split(";") if o]
        os.environ["WINEDLLOVERRIDES"] = ";".join(overrides + ["winemenubuilder.exe=d"])
        subprocess.run([os.path.join(HERE, "..", "..", "scripts", "wine-prefix.sh"), cls.prefix],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        users = [u for u in os.listdir(os.path.join(cls.prefix, "drive_c", "users")) if u != "Public"]
        cls.user = users[0]
        cls.profile = os.path.join(cls.prefix, "drive_c", "users", cls.user)
        cls.folder = os.path.join(cls.profile, "AppData", "Local", "Programs", PRODUCT)
        cls.win_folder = rf"C:\users\{cls.user}\AppData\Local\Programs\{PRODUCT}"
        cls.start_menu = os.path.join(cls.profile, "AppData", "Roaming", "Microsoft", "Windows",
                                      "Start Menu", "Programs", PRODUCT)

    @classmethod
    def tearDownClass(cls):
        end_prefix(cls.prefix)
        if not os.environ.get("KEEP_INSTALLER_PREFIX"):
            shutil.rmtree(cls.prefix, ignore_errors=True)

    def tearDown(self):
        super().tearDown()
        # Whatever a failed test left running from the install folder must not outlive it.
        for pid, _ in self.installed_processes():
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass

    # What the prefix holds --------------------------------------------------------------

    def prefix_processes(self):
        """(pid, command line) of each process of this test's prefix."""
        out = []
        wanted = f"WINEPREFIX={self.prefix}".encode()
        for entry in glob.glob("/proc/[0-9]*"):
            try:
                with open(os.path.join(entry, "environ"), "rb") as f:
                    if wanted not in f.read().split(b"\0"):
                        continue
                with open(os.path.join(entry, "cmdline"), "rb") as f:
                    command = f.read().replace(b"\0", b" ").decode("latin-1").strip()
            except OSError:
                continue
            out.append((int(os.path.basename(entry)), command))
        return out

    def installed_processes(self):
        """(pid, command line) of each process whose program lies in the install folder."""
        needle = self.win_folder.lower() + "\\"
        return [(pid, command) for pid, command in self.prefix_processes()
                if command.lower().lstrip('"').startswith(needle)]

    def running_programs(self):
        return sorted(ntpath.basename(c.split(".exe")[0] + ".exe").lower()
                      for _, c in self.installed_processes())

    def snapshot(self):
        """The user's files (but the temporary folder) and the current user's registry."""
        files = set()
        for root, dirs, names in os.walk(self.profile):
            if os.path.abspath(root) == os.path.join(self.profile, "Temp"):
                dirs[:] = []
                continue
            for name in dirs + names:
                files.add(os.path.relpath(os.path.join(root, name), self.profile))
        with tempfile.TemporaryDirectory() as scratch:
            out = os.path.join(scratch, "hkcu.reg")
            subprocess.run([WINE, "reg", "export", "HKCU", "Z:" + out.replace("/", "\\"), "/y"],
                           env=wine_env(), capture_output=True, timeout=30, check=True)
            with open(out, "rb") as f:
                lines = f.read().decode("utf-16").splitlines()
        # Each value with its key; Wine's own bookkeeping of running windows is left out.
        registry = set()
        key = ""
        for line in lines:
            if line.startswith("[") and line.endswith("]"):
                key = line
                line = ""
            if key and not key.startswith(r"[HKEY_CURRENT_USER\Software\Wine"):
                registry.add(f"{key} {line}".rstrip())
        return files, registry

    def assert_same_as(self, before):
        self.maxDiff = None
        files, registry = self.snapshot()
        self.assertEqual(sorted(files - before[0]), [], "files left behind")
        self.assertEqual(sorted(before[0] - files), [], "files removed")
        self.assertEqual(sorted(registry - before[1]), [], "registry entries left behind")
        self.assertEqual(sorted(before[1] - registry), [], "registry entries removed")

    # Steps -------------------------------------------------------------------------------

    def install(self):
        self.assertEqual(run(installer(), "/S", timeout=60), 0)

    def uninstall(self, *switches):
        # The uninstaller hands over to a copy of itself in the temporary folder and returns
        # at once; the copy removes the uninstall key last.
        self.assertEqual(run(os.path.join(self.folder, "Uninstall.exe"), "/S", *switches), 0)
        deadline = time.monotonic() + 20
        while reg_values(UNINSTALL_KEY) is not None or os.path.exists(
                os.path.join(self.folder, "Uninstall.exe")):
            self.assertLess(time.monotonic(), deadline, "the uninstaller did not finish")
            time.sleep(0.2)
        while any("\\temp\\~nsu" in c.lower() for _, c in self.prefix_processes()):
            self.assertLess(time.monotonic(), deadline, "the uninstaller did not end")
            time.sleep(0.2)

    def uninstall_waited_for(self):
        """The user guide's lines for a script that waits for the uninstall: the uninstaller
        run from its folder, then that folder (where it stays, being the running program) removed."""
        folder = r"%LOCALAPPDATA%\Programs\Corvane USB Talkpod"
        script = "\r\n".join([
            "@echo off",
            rf'"{folder}\Uninstall.exe" /S _?={folder}',
            "if errorlevel 1 exit /b 1",
            # The uninstall is over: the programs and everything else are gone already.
            rf'if exist "{folder}\handsetlink.exe" exit /b 2',
            rf'del "{folder}\Uninstall.exe"',
            rf'rmdir "{folder}"',
            r'rmdir "%LOCALAPPDATA%\Programs" 2>nul',
            "exit /b 0", ""])
        with tempfile.TemporaryDirectory() as scratch:
            path = os.path.join(scratch, "uninstall.cmd")
            with open(path, "w") as f:
                f.write(script)
            # A batch file waits for each program it starts, windowed ones too.
            self.assertEqual(run("cmd.exe", "/c", "Z:" + path.replace("/", "\\"), timeout=60), 0)

    def start_as_at_logon(self):
        """Starts what the Run values name, as Windows does at logon."""
        values = reg_values(RUN_KEY) or {}
        programs = []
        for name in (LINK_RUN_VALUE, PANEL_RUN_VALUE):
            kind, command = values[name]
            self.assertEqual(kind, "REG_SZ")
            programs.append(self.start(Program(command.strip('"'))))
        return programs

    def assert_installed(self):
        # Besides what it installed, only the panel's settings file, once the panel ran.
        self.assertEqual(sorted(set(os.listdir(self.folder)) - {"setup.set"}),
                         sorted(["Uninstall.exe", USER_GUIDE, *PROGRAMS]))
        # What it installed is the stage the installer was made from: the shipped programs and
        # the user guide from the sources.
        stage = os.environ["INSTALLER_STAGE"]
        self.assertEqual(sorted(os.listdir(stage)), sorted([USER_GUIDE, *PROGRAMS]))
        with open(os.path.join(stage, USER_GUIDE), "rb") as a, \
                open(os.path.join(HERE, "..", "..", "docs", "user-guide.md"), "rb") as b:
            self.assertTrue(a.read() == b.read(), "the user guide is not the one of the sources")
        for program in (USER_GUIDE, *PROGRAMS):
            with open(os.path.join(self.folder, program), "rb") as a, \
                    open(os.path.join(stage, program), "rb") as b:
                self.assertTrue(a.read() == b.read(), f"{program} is not the staged one")

        run_values = reg_values(RUN_KEY)
        self.assertEqual(run_values.get(LINK_RUN_VALUE),
                         ("REG_SZ", f'"{self.win_folder}\\handsetlink.exe"'))
        self.assertEqual(run_values.get(PANEL_RUN_VALUE),
                         ("REG_SZ", f'"{self.win_folder}\\trayconsole.exe"'))

        shortcuts = {
            f"{PRODUCT} Control Panel.lnk": "trayconsole.exe",
            "Handset Link.lnk": "handsetlink.exe",
            f"Uninstall {PRODUCT}.lnk": "Uninstall.exe",
        }
        self.assertEqual(sorted(os.listdir(self.start_menu)), sorted(shortcuts))
        for shortcut, target in shortcuts.items():
            with open(os.path.join(self.start_menu, shortcut), "rb") as f:
                data = f.read()
            self.assertEqual(data[:4], b"L\0\0\0", f"{shortcut} is no shell link")
            self.assertTrue(target.encode() in data or target.encode("utf-16-le") in data,
                            f"{shortcut} does not point at {target}")

        entry = reg_values(UNINSTALL_KEY)
        self.assertEqual(entry["DisplayName"], ("REG_SZ", PRODUCT))
        self.assertEqual(entry["DisplayVersion"], ("REG_SZ", VERSION))
        self.assertEqual(entry["Publisher"], ("REG_SZ", "Corvane Audio Devices"))
        self.assertEqual(entry["InstallLocation"], ("REG_SZ", self.win_folder))
        self.assertEqual(entry["UninstallString"], ("REG_SZ", f'"{self.win_folder}\\Uninstall.exe"'))
        self.assertEqual(entry["QuietUninstallString"],
                         ("REG_SZ", f'"{self.win_folder}\\Uninstall.exe" /S'))
        self.assertEqual(entry["URLInfoAbout"], ("REG_SZ", MAKER_URL))
        self.assertEqual(entry["HelpLink"], ("REG_SZ", MAKER_URL))

    def assert_linked(self, skype, desktop, since=0):
        # The link attaches to Skype; the panel hears the link's reports (its Skype group
        # comes on) and asks Skype, through the link, which devices it uses.
        skype.wait_event("CMD", "^GET USERSTATUS$", timeout=15, start=since)
        desktop.wait_look(lambda s: s["skype"] == "on", timeout=10)
        skype.wait_event("CMD", "^GET AUDIO_OUT$", timeout=10, start=since)

    # Tests -------------------------------------------------------------------------------

    def test_install_start_at_logon_link_and_a_waited_uninstall_leaving_nothing(self):
        before = self.snapshot()
        skype = self.skypesim(*SKYPE_START_UP)
        desktop = self.desktopsim()

        self.install()
        self.assert_installed()
        # An unattended first install starts nothing by itself.
        self.assertEqual(self.running_programs(), [])

        link, panel = self.start_as_at_logon()
        self.assert_linked(skype, desktop)

        # Waited for: when the script's lines are done, everything is gone, at once.
        self.uninstall_waited_for()
        # Both ended of their own accord: the panel by its ZunDestroyMode, the link by its
        # window's close.
        self.assertEqual(link.wait_exit(10), 0)
        self.assertEqual(panel.wait_exit(10), 0)
        self.assertEqual(self.running_programs(), [])
        self.assertFalse(os.path.exists(self.folder))
        self.assertFalse(os.path.exists(self.start_menu))
        run_values = reg_values(RUN_KEY) or {}
        self.assertNotIn(LINK_RUN_VALUE, run_values)
        self.assertNotIn(PANEL_RUN_VALUE, run_values)
        self.assertIsNone(reg_values(UNINSTALL_KEY))
        # The link's ring tone setting goes too, unless kept.
        self.assertIsNone(reg_values(RINGTONE_KEY))
        self.assert_same_as(before)

    def test_update_over_running_programs_and_uninstall_keeping_settings(self):
        before = self.snapshot()
        skype = self.skypesim(*SKYPE_START_UP)
        desktop = self.desktopsim()
        self.install()
        # The user's settings: the panel's file beside it, the link's ring tone.
        with open(os.path.join(self.folder, "setup.set"), "wb") as f:
            f.write(b"USB Phone\r\nUSB Phone\r\n-1\r\n6000\r\n5000\r\n0\r\n1\r\n")
        old_link, old_panel = self.start_as_at_logon()
        self.assert_linked(skype, desktop)
        subprocess.run([WINE, "reg", "add", RINGTONE_KEY, "/v", "RingTone", "/t", "REG_DWORD",
                        "/d", "3", "/f"], env=wine_env(), capture_output=True, timeout=30, check=True)

        # An update replaces the running programs and starts them again.
        since = skype.event_count()
        self.install()
        self.assertEqual(old_link.wait_exit(10), 0)
        self.assertEqual(old_panel.wait_exit(10), 0)
        self.assert_installed()
        self.assertEqual(self.running_programs(), sorted(PROGRAMS))
        self.assert_linked(skype, desktop, since)

        # Kept when asked: the file, however the panel left it as it ended, and the ring tone.
        self.uninstall("/KEEPSETTINGS")
        self.assertEqual(self.running_programs(), [])
        self.assertEqual(os.listdir(self.folder), ["setup.set"])
        with open(os.path.join(self.folder, "setup.set"), "rb") as f:
            settings = f.read()
        self.assertEqual(reg_values(RINGTONE_KEY), {"RingTone": ("REG_DWORD", "0x3")})
        self.assertFalse(os.path.exists(self.start_menu))
        self.assertIsNone(reg_values(UNINSTALL_KEY))

        # A later installation finds them untouched.
        self.install()
        self.assert_installed()
        self.assertEqual(self.running_programs(), [])
        with open(os.path.join(self.folder, "setup.set"), "rb") as f:
            self.assertEqual(f.read(), settings)

        self.uninstall()
        self.assertIsNone(reg_values(RINGTONE_KEY))
        self.assertFalse(os.path.exists(self.folder))
        self.assert_same_as(before)


if __name__ == "__main__":
    unittest.main()
