"""handsetlink.exe against what can go wrong around it: a program that names the bridge's
own window as the panel's, Skype restarting its API window, and a session lock that stops
every handset while the panel is asking for devices."""
import time
import unittest

from winetest import WineTestCase, reg_delete

SETTINGS_KEY = r"HKCU\Software\TALVEK\USB_PHONE_K42"
HANDSETS = ["device 1 0x0A5E 0x9001", "device 2 0x0A5E 0x9002", "device 3 0x0B7C 0x90FF"]
KEY = {"1": 0x23, "2": 0x1E}
SKYPE_START_UP = [
    "attach-all 0",
    "answer SEARCH ACTIVECALLS => CALLS",
    "answer GET MUTE => MUTE OFF",
    "answer GET USERSTATUS => USERSTATUS ONLINE",
    "answer GET RINGER => RINGER USB PHONE",
    "answer GET AUDIO_OUT => AUDIO_OUT Speakers",
]
WM_WTSSESSION_CHANGE = 0x02B1
WTS_SESSION_LOCK, WTS_SESSION_UNLOCK = 7, 8


class SelfForwarding(WineTestCase):
    def test_an_attach_naming_the_bridge_itself_is_refused_and_the_real_panel_kept(self):
        sim = self.skypesim(*SKYPE_START_UP)
        panel = self.panelsim()
        link = self.bridge()
        sim.wait_event("CMD", "^GET USERSTATUS$")
        bridge_window = panel.wait_event("DISCOVER").split()[2]
        panel.wait_event("STATUS")  # the real panel is attached and reported to

        # A program names the bridge's own window as the panel's, then sends a device answer.
        panel.write(f"attach {bridge_window}")
        panel.wait_event("ATTACH", "naming")
        panel.write("send-text AUDIO_OUT x")
        self.assertRegex(panel.wait_event("SENT"), r"AUDIO_OUT x RESULT 1$")
        self.assertTrue(link.running())

        # The answers still reach the real panel, and so do the reports.
        self.assertIn("cb=12 AUDIO_OUT x", panel.events("TEXT"))
        mark = panel.event_count()
        sim.write("notify AUDIO_OUT y")
        panel.wait_event("TEXT", "AUDIO_OUT y$", start=mark)
        panel.wait_event("STATUS", start=mark)
        panel.write("request GET AUDIO_OUT")
        panel.wait_event("TEXT", "AUDIO_OUT Speakers$", start=mark)


class SkypeApiWindow(WineTestCase):
    def start_all(self):
        reg_delete(SETTINGS_KEY)
        self.hs = self.handsetsim(HANDSETS[0])
        self.sim = self.skypesim(*SKYPE_START_UP)
        self.link = self.bridge(handsets=True)
        self.sim.wait_event("NOTIFY", "^RINGER USB PHONE")

    def press(self, name):
        self.hs.write(f"press {KEY[name]:#04x}")
        self.hs.write("release")

    def test_skype_started_after_the_bridge_announces_itself_and_is_attached(self):
        self.link = self.bridge()
        time.sleep(1.0)  # the bridge's own discovery found no Skype
        sim = self.skypesim(*SKYPE_START_UP)
        sim.write("announce 0x8001")
        self.assertRegex(sim.wait_event("ANNOUNCE"), "ANNOUNCE 0x8001 RESULT")
        sim.wait_event("CMD", "^GET USERSTATUS$")

    def test_a_new_api_window_announces_and_the_bridge_reattaches(self):
        self.start_all()
        self.press("1")
        self.sim.wait_event("CMD", "^btn_released 1$")
        old_window = self.sim.events("READY")[0]

        self.sim.write("reopen")
        new_window = self.sim.wait_event("READY", count=2).split()[2]
        self.assertNotEqual(new_window, old_window)
        mark = self.sim.event_count()
        self.sim.write("announce 0x8001")
        self.sim.wait_event("CMD", "^GET USERSTATUS$", start=mark)

        self.press("2")
        self.sim.wait_event("CMD", "^btn_released 2$", start=mark)
        self.assertTrue(self.link.running())


def request_waits_after_lock(lines):
    """Milliseconds from each posted lock to the end of the request that followed it."""
    waits, locked_at = [], None
    for line in lines:
        parts = line.split()
        if len(parts) >= 5 and parts[1] == "POST-TO" and parts[4] == str(WTS_SESSION_LOCK):
            locked_at = float(parts[0])
        elif len(parts) >= 2 and parts[1] == "REQUEST" and locked_at is not None:
            waits.append(round(float(parts[0]) - locked_at))
            locked_at = None
    return waits


class SessionLock(WineTestCase):
    def test_a_lock_while_the_panel_asks_for_devices_loses_no_request(self):
        reg_delete(SETTINGS_KEY)
        hs = self.handsetsim(*HANDSETS)
        panel = self.panelsim()
        sim = self.skypesim(*SKYPE_START_UP)
        link = self.bridge(handsets=True)
        sim.wait_event("NOTIFY", "^RINGER USB PHONE")
        for dev in (1, 2, 3):
            hs.wait_event("OUTPUT", f"^dev={dev} ")
        panel.wait_event("STATUS", "^0x0101")

        rounds = 6
        enumerations = len(hs.events("ENUMERATE"))
        for _ in range(rounds):
            # The lock stops all three read threads; the request comes while that goes on.
            panel.write(f"post-to THidControlWindow {WM_WTSSESSION_CHANGE} {WTS_SESSION_LOCK} 0")
            panel.write("freeze 20")
            panel.write("request GET AUDIO_OUT")
            panel.write(f"post-to THidControlWindow {WM_WTSSESSION_CHANGE} {WTS_SESSION_UNLOCK} 0")
            panel.write("freeze 400")
        panel.wait_event("REQUEST", count=rounds, timeout=30)
        self.assertEqual(panel.events("REQUEST"), ["GET AUDIO_OUT RESULT 1"] * rounds)
        self.assertFalse([e for e in panel.events("POST-TO") if e.endswith("FAILED")])
        # Each request was answered at once, not after the threads had ended (the panel
        # gives up after 500 ms); the 20 ms the panel slept after the lock do not count.
        waits = request_waits_after_lock(panel.lines())
        self.assertEqual(len(waits), rounds)
        self.assertLess(max(waits) - 20, 250, waits)
        sim.wait_event("CMD", "^GET AUDIO_OUT$", count=rounds)
        self.assertTrue(link.running())

        # The handsets came back after the last unlock (a key pressed while the session is
        # locked may be lost, as the handsets are let go): found again, then given standby.
        hs.wait_event("ENUMERATE", count=enumerations + rounds)
        last_scan = max(i for i, line in enumerate(hs.lines()) if line.split()[1] == "ENUMERATE")
        hs.wait_event("OUTPUT", "^dev=3 ", start=last_scan)
        mark = sim.event_count()
        hs.write(f"press {KEY['1']:#04x} dev=3")
        hs.write("release dev=3")
        sim.wait_event("CMD", "^btn_released 1$", start=mark)


if __name__ == "__main__":
    unittest.main()
