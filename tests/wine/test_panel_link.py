"""trayconsole.exe and the real handsetlink.exe (with the Skype simulator and a simulated
handset): the link in both start orders, what the reports switch, and the bridge watch."""
import time
import unittest

from audio_endpoints import StandInEndpoints
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


class LinkStateInTheHint(WineTestCase):
    """The tray hint's second line and the note on the Setup page, driven by the real bridge,
    a simulated handset and the Skype simulator through every state."""

    def wait_hint(self, desktop, line):
        return desktop.wait_event("TRAY", r"^MODIFY id=1 image=\w+ tip=Corvane USB Talkpod Control Panel\\n"
                                  + line + "$", timeout=8)

    def wait_note(self, desktop, note):
        desktop.wait_look(lambda s: s["note"] == note.replace(" ", "_"), timeout=8)

    def test_each_state_of_the_link_shows_in_the_hint_and_the_note(self):
        reg_delete(SETTINGS_KEY)
        desktop = self.desktopsim("tray on")
        # The handset's sound devices, so its group comes on with it: wave devices, and the
        # endpoints that this Windows takes the volume from.
        self.audio()
        endpoints = StandInEndpoints().__enter__()
        self.addCleanup(endpoints.__exit__)
        self._audio_env.update(endpoints.env)
        self.panel(desktop=desktop)
        self.wait_hint(desktop, "Handset link not running")
        self.wait_note(desktop, "Handset link not running")

        # Skype answers "API available" only: it waits for the user to allow the bridge.
        handset = self.handsetsim(HANDSET)
        sim = self.skypesim("attach 0x8001", "answer SEARCH ACTIVECALLS => CALLS",
                            "answer GET RINGER => RINGER Speakers")
        link = self.bridge(handsets=True)
        self.wait_hint(desktop, "Waiting for Skype")
        self.wait_note(desktop, "Waiting for Skype")

        sim.write("announce 0")
        self.wait_hint(desktop, "Ready")
        state, _ = desktop.wait_look(lambda s: s["note"] == "none", timeout=8)
        self.assertEqual((state["volume"], state["skype"]), ("on", "on"))

        sim.write("answer GET CALL 1201 TYPE => CALL 1201 TYPE INCOMING_P2P")
        sim.write("answer SEARCH ACTIVECALLS => CALLS 1201")
        sim.write("notify CALL 1201 STATUS RINGING")
        sim.write("notify CALL 1201 STATUS INPROGRESS")
        self.wait_hint(desktop, "In a call")

        handset.write("unplug 1")
        self.wait_hint(desktop, "No handset plugged in")
        self.wait_note(desktop, "No handset plugged in")

        link.kill()
        self.wait_hint(desktop, "Handset link not running")
        self.wait_note(desktop, "Handset link not running")


if __name__ == "__main__":
    unittest.main()
