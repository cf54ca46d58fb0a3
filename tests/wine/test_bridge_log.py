"""handsetlink.exe's diagnostic log, with a simulated handset and the Skype simulator: off
by default, one call's texts, keys and modes when the registry value turns it on, and a log
folder that cannot be written leaving the bridge at work."""
import os
import re
import shutil
import subprocess
import time
import unittest

from test_bridge_handset import HANDSET, KEY, SETTINGS_KEY, SKYPE_START_UP
from winetest import WINE, WineTestCase, reg_add, reg_delete, wine_env
STAMP = r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} "


def local_app_data():
    """The prefix's local application data folder, as a Linux path."""
    out = subprocess.run([WINE, "cmd", "/c", "echo %LOCALAPPDATA%"], env=wine_env(), capture_output=True,
                         timeout=30).stdout.decode("latin-1").strip()
    match = re.match(r"^([A-Za-z]):\\(.*)$", out)
    assert match and match.group(1).upper() == "C", out
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", *match.group(2).split("\\"))


class DiagnosticLog(WineTestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = os.path.join(local_app_data(), "Corvane USB Talkpod")
        cls.log = os.path.join(cls.folder, "handsetlink.log")

    def setUp(self):
        super().setUp()
        reg_delete(SETTINGS_KEY)
        self.clear_folder()
        self.addCleanup(self.clear_folder)
        self.addCleanup(reg_delete, SETTINGS_KEY)

    def clear_folder(self):
        if os.path.isdir(self.folder):
            shutil.rmtree(self.folder)
        elif os.path.exists(self.folder):
            os.remove(self.folder)

    def start_all(self):
        self.hs = self.handsetsim(HANDSET)
        self.sim = self.skypesim(*SKYPE_START_UP)
        self.link = self.bridge(handsets=True)
        self.sim.wait_event("NOTIFY", "^RINGER USB PHONE")
        self.hs.wait_event("OUTPUT", "00 40 00")

    def press(self, name):
        self.hs.write(f"press {KEY[name]:#04x}")
        self.hs.write("release")

    def one_call(self):
        """A call rung, taken at the handset and ended there."""
        self.sim.write("answer GET CALL 1201 TYPE => CALL 1201 TYPE INCOMING_P2P")
        self.sim.write("answer SEARCH ACTIVECALLS => CALLS 1201")
        self.sim.write("notify CALL 1201 STATUS RINGING")
        self.hs.wait_event("OUTPUT", "00 40 01", count=2)
        self.sim.write("answer SET CALL 1201 STATUS INPROGRESS => CALL 1201 STATUS INPROGRESS")
        self.press("yes")
        self.hs.wait_event("OUTPUT", "00 40 06")
        self.sim.write("answer btn_released no => CALL 1201 STATUS FINISHED")
        self.sim.write("answer SEARCH ACTIVECALLS => CALLS")
        self.press("no")
        self.sim.wait_event("CMD", "^btn_released no$")
        self.hs.wait_event("OUTPUT", "00 40 00", count=2)

    def wait_logged(self, text, timeout=10.0):
        deadline = time.monotonic() + timeout
        while not (os.path.exists(self.log) and text in open(self.log, encoding="latin-1").read()):
            self.assertLess(time.monotonic(), deadline, f"{text!r} never logged")
            time.sleep(0.1)

    def test_off_by_default(self):
        self.start_all()
        self.one_call()
        self.assertFalse(os.path.exists(self.log))

    def test_on_it_records_one_calls_texts_keys_modes_and_a_device_change(self):
        reg_add(SETTINGS_KEY, "DiagnosticLog", "1", "REG_DWORD")
        self.start_all()
        self.one_call()
        self.hs.write("unplug 1")
        self.hs.wait_event("UNPLUG")
        self.hs.write("plug 1")
        self.wait_logged("DEVICES 1 open")
        self.sim.write("post 16 0 0")  # WM_CLOSE: the bridge ends, the file is complete
        self.assertEqual(self.link.wait_exit(10), 0)

        with open(self.log, encoding="latin-1") as file:
            lines = file.read().splitlines()
        for line in lines:
            self.assertRegex(line, "^" + STAMP + r"[A-Z]+( |$)")
        events = [line[24:] for line in lines]
        self.assertEqual(events[0], "START handsetlink 3.3.10.3")
        in_order = ["ATTACH 0x0", "OUT SEARCH ACTIVECALLS", "OUT GET MUTE", "OUT GET USERSTATUS",
                    "IN CALL 1201 STATUS RINGING", "OUT GET CALL 1201 TYPE", "IN CALL 1201 TYPE INCOMING_P2P",
                    "MODE 1 tone 128", "KEY 0x1B", "OUT SET CALL 1201 STATUS INPROGRESS",
                    "IN CALL 1201 STATUS INPROGRESS", "MODE 6 tone 128", "KEY 0x16", "OUT btn_released no",
                    "IN CALL 1201 STATUS FINISHED", "MODE 0 tone 128", "DEVICES 1 open"]
        at = 0
        for expected in in_order:
            self.assertIn(expected, events[at:], f"{expected!r} missing after line {at}:\n" + "\n".join(events))
            at = events.index(expected, at) + 1

    def test_a_folder_that_cannot_be_written_leaves_the_bridge_working(self):
        reg_add(SETTINGS_KEY, "DiagnosticLog", "1", "REG_DWORD")
        # A file where the log's folder would be: the folder can be neither made nor used.
        os.makedirs(os.path.dirname(self.folder), exist_ok=True)
        with open(self.folder, "w") as file:
            file.write("in the way\n")
        self.start_all()
        self.one_call()
        self.assertTrue(self.link.running())
        self.assertTrue(os.path.isfile(self.folder))


if __name__ == "__main__":
    unittest.main()
