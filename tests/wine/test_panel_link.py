"""trayconsole.exe and the real handsetlink.exe (with the Skype simulator and a simulated
handset): the link in both start orders, what the reports switch, and the bridge watch."""
import time
import unittest

from winetest import WineTestCase, reg_delete

SETTINGS_KEY = r"HKCU\Software\TALVEK\USB_PHONE_K42"
HANDSET = "device 1 0x0A5E 0x9001"
SKYPE_START_UP = [
    "attach 0",
    "answer SEARCH ACTIVECALLS => CALLS",
    "answer GET MUTE => MUTE OFF",
    "answer GET USERSTATUS => USERSTATUS ONLINE",
    "answer GET RINGER => RINGER Speakers",
    "answer GET AUDIO_OUT => AUDIO_OUT Speakers",
]


class PanelAndBridge(WineTestCase):
    def skype_and_bridge(self, handset=False):
        reg_delete(SETTINGS_KEY)
        if handset:
            self.handsetsim(HANDSET)
        self.sim = self.skypesim(*SKYPE_START_UP)
        self.link = self.bridge(handsets=handset)
        self.sim.wait_event("CMD", "^GET USERSTATUS$")

    def assert_linked(self, desktop):
        # Skype is attached to the bridge: the panel's Skype group comes on, and the panel
        # asks Skype, through the bridge, which devices it uses.
        desktop.wait_look(lambda s: s["skype"] == "on", timeout=8)
        self.sim.wait_event("CMD", "^GET AUDIO_OUT$")
        self.sim.wait_event("CMD", "^GET AUDIO_IN$")

    def test_the_bridge_starts_after_the_panel(self):
        desktop = self.desktopsim()
        self.panel(desktop=desktop)
        self.skype_and_bridge()
        self.assert_linked(desktop)

    def test_the_panel_starts_after_the_bridge(self):
        desktop = self.desktopsim()
        self.skype_and_bridge()
        self.panel(desktop=desktop)
        self.assert_linked(desktop)

    def test_a_handset_lights_the_icon_and_enables_default(self):
        desktop = self.desktopsim("tray on")
        self.skype_and_bridge(handset=True)
        self.panel(desktop=desktop)
        desktop.wait_event("TRAY", "^MODIFY id=1 image=red")
        state, _ = desktop.wait_look(lambda s: s["default"] == "on,shown", timeout=8)
        self.assertEqual(state["skype"], "on")

    def test_without_the_bridge_the_groups_go_off_after_about_three_seconds(self):
        desktop = self.desktopsim("tray on")
        self.skype_and_bridge(handset=True)
        self.panel(desktop=desktop)
        desktop.wait_look(lambda s: s["default"] == "on,shown", timeout=8)
        self.link.kill()
        killed = time.monotonic()
        state, _ = desktop.wait_look(lambda s: s["skype"] == "off", timeout=8)
        # Up to a second passed since the last report, the watch allows three.
        self.assertGreater(time.monotonic() - killed, 1.8)
        self.assertLess(time.monotonic() - killed, 4.5)
        self.assertEqual(state["default"], "off,shown")
        desktop.wait_event("TRAY", "^MODIFY id=1 image=grey")


if __name__ == "__main__":
    unittest.main()
