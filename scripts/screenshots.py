#!/usr/bin/env python3
"""Drives the control panel for scripts/screenshots.sh: starts it beside the Skype simulator,
a simulated handset and the bridge, on Windows 7 over the endpoint simulator with stored
volumes, shows its window the way a user would (a second start, then the tray menu's About),
and photographs the screen each time. It checks that the "USB Phone" group is on with the
stored values, and on each page that the tab strip shows both tabs whole: no scroll arrows,
every tab inside the strip.

    screenshots.py OUTPUT_DIR DPI    (run by scripts/screenshots.sh, with $DISPLAY set and
                                      Wine's dpi already DPI)
"""
import re
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "wine"))
from test_panel_endpoints import STORED, StandInEndpointsForThePanel  # noqa: E402
from winetest import WineTestCase, run  # noqa: E402

MARGIN = 16
TRAY_CALLBACK = 0x8001    # the panel's tray icon messages (WM_APP + 1), icon 1
WM_RBUTTONUP = 0x0205
WM_PANELEXIT = 0x0400 + 111
SKYPE = ["attach 0", "answer SEARCH ACTIVECALLS => CALLS", "answer GET MUTE => MUTE OFF",
         "answer GET USERSTATUS => USERSTATUS ONLINE", "answer GET RINGER => RINGER Speakers",
         "attach-all 0"]


def photograph(path, rect):
    """The screen around the window, as a PNG."""
    x, y, w, h = (int(v) for v in rect.split(","))
    left, top = max(x - MARGIN, 0), max(y - MARGIN, 0)
    raw = path + ".xwd"
    subprocess.run(["xwd", "-root", "-display", os.environ["DISPLAY"], "-out", raw], check=True)
    subprocess.run(["convert", raw, "-crop", f"{w + 2 * MARGIN}x{h + 2 * MARGIN}+{left}+{top}", "+repage",
                    path], check=True)
    os.remove(raw)


def tabs(desktop):
    """The strip's width, whether its arrows show, and each tab's (left, right)."""
    start = desktop.event_count()
    desktop.write("tabs")
    line = desktop.wait_event("TABS", start=start)
    match = re.search(r"strip=(\d+) arrows=(\d) items=(.*)$", line)
    assert match, line
    items = [tuple(int(v) for v in item.split("-")) for item in match.group(3).split(",") if item]
    return int(match.group(1)), match.group(2) == "1", items


class Screenshots(StandInEndpointsForThePanel, WineTestCase):
    output = "."
    dpi = 96

    def shot(self, page):
        return os.path.join(self.output, f"panel-{page}-{self.dpi}dpi.png")

    def assert_tabs_whole(self, desktop):
        strip, arrows, items = tabs(desktop)
        self.assertFalse(arrows, f"scroll arrows on the tab strip at {self.dpi} dpi")
        self.assertEqual(len(items), 2)
        for left, right in items:
            self.assertGreaterEqual(left, 0)
            self.assertLessEqual(right, strip, f"a tab outside the strip at {self.dpi} dpi: {items}, strip {strip}")

    def test_setup_and_about_pages(self):
        self.use_stand_in_endpoints()
        desktop = self.desktopsim()
        self.handsetsim("device 1 0x0A5E 0x9001")
        self.skypesim(*SKYPE)
        self.bridge(handsets=True)
        self.audio()  # the handset's sound devices: its group comes on
        with open(os.path.join(self.panel_folder(), "setup.set"), "wb") as settings:
            settings.write(STORED)
        panel = self.panel(desktop=desktop)
        state, _ = desktop.wait_look(lambda s: s["default"] == "on,shown" and s["volume"] == "on", timeout=20)
        self.assertEqual((state["speaker"], state["mic"], state["speakermute"], state["micmute"]),
                         ("20480,on", "12288,on", "0,on", "1,on"))

        # A second start shows the running panel's window.
        self.assertEqual(run(self.panel_exe()), 0)
        state, _ = desktop.wait_look(lambda s: s["visible"] == "1")
        time.sleep(1.0)
        photograph(self.shot("setup"), state["rect"])
        self.assert_tabs_whole(desktop)

        # The tray menu's About, chosen with its access key.
        desktop.write(f"post {TRAY_CALLBACK} 1 {WM_RBUTTONUP}")
        for _ in range(50):
            desktop.write("menu")
            time.sleep(0.1)
            if "open" in desktop.events("MENU"):
                break
        desktop.write("menu-char a")
        state, _ = desktop.wait_look(lambda s: s["page"] == "1")
        time.sleep(1.0)
        photograph(self.shot("about"), state["rect"])
        self.assert_tabs_whole(desktop)

        desktop.write(f"post {WM_PANELEXIT} 47215 {0x5C2E71B4}")
        self.assertEqual(panel.wait_exit(10), 0)


if __name__ == "__main__":
    Screenshots.output = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else ".")
    Screenshots.dpi = int(sys.argv[2]) if len(sys.argv) > 2 else 96
    os.makedirs(Screenshots.output, exist_ok=True)
    result = unittest.main(argv=[sys.argv[0]], exit=False).result
    sys.exit(0 if result.wasSuccessful() else 1)
