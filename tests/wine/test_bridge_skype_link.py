"""handsetlink.exe and the Skype simulator: single instance, settings, and Skype's handshake."""
import time
import unittest

from winetest import WineTestCase, exe, reg_delete, reg_query, run

SETTINGS_KEY = r"HKCU\Software\TALVEK\USB_PHONE_K42"
WM_CLOSE = 0x0010
WM_SKYPEQUERY = 0x0400 + 101
START_UP_QUERIES = ["SEARCH ACTIVECALLS", "GET MUTE", "GET USERSTATUS"]


def without_ringer_polls(commands):
    # While attached the bridge asks for Skype's ringing device once a second.
    return [c for c in commands if c != "GET RINGER"]


class BridgeStart(WineTestCase):
    def test_first_start_creates_the_ring_tone_setting_and_discovers_skype_first(self):
        reg_delete(SETTINGS_KEY)
        sim = self.skypesim()
        self.bridge()
        sim.wait_event("UIDISCOVER")
        self.assertEqual(len(sim.events("DISCOVER")), 1)
        first = [line.split()[1] for line in sim.lines() if "DISCOVER" in line]
        self.assertEqual(first[:2], ["DISCOVER", "UIDISCOVER"])
        deadline = time.monotonic() + 10
        while reg_query(SETTINGS_KEY, "RingTone") is None and time.monotonic() < deadline:
            time.sleep(0.2)
        self.assertEqual(reg_query(SETTINGS_KEY, "RingTone"), "0x80")

    def test_second_start_exits_at_once_without_broadcast_or_registry_access(self):
        sim = self.skypesim()
        first = self.bridge()
        sim.wait_event("UIDISCOVER")
        time.sleep(0.5)
        reg_delete(SETTINGS_KEY)
        self.assertEqual(run(exe("HANDSETLINK_EXE")), 1)
        time.sleep(1.0)
        self.assertEqual(len(sim.events("DISCOVER")), 1)
        self.assertEqual(len(sim.events("UIDISCOVER")), 1)
        self.assertIsNone(reg_query(SETTINGS_KEY, "RingTone"))
        self.assertTrue(first.running())

    def test_closing_the_window_ends_the_program_cleanly(self):
        sim = self.skypesim("attach 0")
        bridge = self.bridge()
        sim.wait_event("CMD", "^GET USERSTATUS$")
        sim.write(f"post {WM_CLOSE} 0 0")
        self.assertEqual(bridge.wait_exit(10), 0)


class SkypeHandshake(WineTestCase):
    def test_api_available_gives_one_more_discovery_and_no_command(self):
        sim = self.skypesim("attach 0x8001")
        self.bridge()
        sim.wait_event("ATTACH", "^0x8001")
        sim.wait_event("DISCOVER", count=2)
        time.sleep(1.5)
        self.assertEqual(len(sim.events("DISCOVER")), 2)
        self.assertEqual(sim.commands(), [])

    def test_success_sends_exactly_the_three_start_up_queries_in_order(self):
        sim = self.skypesim("attach 0")
        self.bridge()
        sim.wait_event("CMD", "^GET USERSTATUS$")
        # No handset is open: the attach is answered 0 (logged once the send returned).
        self.assertRegex(sim.wait_event("ATTACH"), r"ATTACH 0x0 RESULT 0$")
        time.sleep(1.5)
        self.assertEqual(without_ringer_polls(sim.commands()), START_UP_QUERIES)
        self.assertIn("GET RINGER", sim.commands())

    def test_api_available_then_success(self):
        sim = self.skypesim("attach 0x8001 0")
        self.bridge()
        sim.wait_event("CMD", "^GET USERSTATUS$")
        self.assertEqual(without_ringer_polls(sim.commands()), START_UP_QUERIES)
        self.assertEqual(len(sim.events("DISCOVER")), 2)

    def test_other_status_changes_nothing(self):
        sim = self.skypesim("attach 2")
        self.bridge()
        sim.wait_event("ATTACH", "^0x2")
        # Not attached: a ringing call's type query would go nowhere.
        sim.write("notify CALL 12 STATUS RINGING")
        sim.wait_event("NOTIFY", "RESULT 1$")
        time.sleep(1.5)
        self.assertEqual(sim.commands(), [])
        self.assertEqual(len(sim.events("DISCOVER")), 1)

    def test_refused_command_restarts_discovery_once(self):
        sim = self.skypesim("attach 0", "refuse 1")
        self.bridge()
        sim.wait_event("CMD", "^GET USERSTATUS$")
        time.sleep(1.0)
        self.assertEqual(sim.events("REFUSED"), ["SEARCH ACTIVECALLS"])
        self.assertEqual(len(sim.events("DISCOVER")), 2)
        self.assertEqual(without_ringer_polls(sim.commands()), START_UP_QUERIES)


class SkypeTexts(WineTestCase):
    def attached(self):
        sim = self.skypesim("attach 0")
        bridge = self.bridge()
        sim.wait_event("CMD", "^GET USERSTATUS$")
        return sim, bridge

    def test_malformed_copydata_is_answered_one_and_survived(self):
        sim, bridge = self.attached()
        sim.write("copydata 0")
        sim.write("copydata 7 MUTE ONxxxxxxxx")   # no zero byte within cbData
        sim.write("copydata-big 1048576")
        sim.write("notify CALL abc STATUS RINGING")  # an id that is no number
        sim.wait_event("NOTIFY", count=1)
        self.assertEqual([e.split()[-1] for e in sim.events("COPYDATA")], ["1", "1", "1"])
        self.assertRegex(sim.events("NOTIFY")[0], "RESULT 1$")
        sim.write(f"post {WM_SKYPEQUERY} 0 -5")
        sim.wait_event("CMD", "^GET CALL -5 TYPE$")
        self.assertTrue(bridge.running())

    def test_deferred_queries(self):
        sim, _ = self.attached()
        sim.write(f"post {WM_SKYPEQUERY} 2 0")
        sim.write(f"post {WM_SKYPEQUERY} 1 0")
        sim.wait_event("CMD", "^SEARCH ACTIVECALLS$", count=2)
        sim.write("notify CALL 1201 STATUS RINGING")
        sim.wait_event("CMD", "^GET CALL 1201 TYPE$")
        self.assertEqual(
            without_ringer_polls(sim.commands())[3:], ["SEARCH ACTIVECALLS", "GET CALL 1201 TYPE"])


class HungWindow(WineTestCase):
    def test_a_hung_window_does_not_stop_the_handshake(self):
        hung = self.skypesim()
        hung.write("freeze 30000")
        time.sleep(0.5)
        sim = self.skypesim("attach 0")
        started = time.monotonic()
        self.bridge()
        sim.wait_event("CMD", "^GET USERSTATUS$", timeout=15)
        self.assertLess(time.monotonic() - started, 15)
        self.assertTrue(hung.running())


if __name__ == "__main__":
    unittest.main()
