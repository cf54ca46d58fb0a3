"""handsetlink.exe with the Skype simulator and the panel stand-in: a call through the
bridge, the panel link and its reports. Handset keys are posted to the bridge as its read
threads would (WM_HANDSETKEY); there is no handset, so the reports' key byte stays 0."""
import time
import unittest

from winetest import WineTestCase

WM_HANDSETKEY = 0x0400 + 100
KEY_YES, KEY_NO, KEY_FIVE, KEY_RELEASE = 27, 22, 34, 0
SKYPE_ATTACHED = 0x0001

SKYPE_START_UP = [
    "attach 0",
    "answer SEARCH ACTIVECALLS => CALLS",
    "answer GET MUTE => MUTE OFF",
    "answer GET USERSTATUS => USERSTATUS ONLINE",
    "answer GET RINGER => RINGER USB PHONE",
]


class BridgeCalls(WineTestCase):
    def start_all(self):
        panel = self.panelsim()
        sim = self.skypesim(*SKYPE_START_UP)
        self.bridge()
        sim.wait_event("CMD", "^GET RINGER$")
        panel.wait_event("STATUS")
        return sim, panel

    def key(self, sim, key):
        sim.write(f"post {WM_HANDSETKEY} {key} 0")

    def test_incoming_call_taken_and_ended_at_the_handset(self):
        sim, panel = self.start_all()
        sim.write("answer GET CALL 1201 TYPE => CALL 1201 TYPE INCOMING_P2P")
        sim.write("answer SEARCH ACTIVECALLS => CALLS 1201")
        sim.write("notify CALL 1201 STATUS RINGING")
        sim.wait_event("NOTIFY", "^CALL 1201 TYPE INCOMING_P2P")
        ringing = panel.event_count()
        panel.wait_event("STATUS", start=ringing)
        self.assertEqual(panel.reports(ringing)[0], (SKYPE_ATTACHED, [0xFF, 0, 0, 1]))

        mark = len(sim.commands())
        before_key = panel.event_count()
        sim.write("answer SET CALL 1201 STATUS INPROGRESS => CALL 1201 STATUS INPROGRESS")
        self.key(sim, KEY_YES)
        sim.wait_event("CMD", "^SET CALL 1201 STATUS INPROGRESS$")
        # The key report goes out before the key's action, with the mode still ringing. It is
        # posted, so the panel may log it a moment after Skype logs the command.
        panel.wait_event("STATUS", "^0x0001 00 00 00 01$", start=before_key)
        self.assertIn((SKYPE_ATTACHED, [0, 0, 0, 1]), panel.reports(before_key))
        talking = panel.event_count()
        panel.wait_event("STATUS", "ff 00 00 06$", start=talking)

        self.key(sim, KEY_FIVE)
        sim.wait_event("CMD", "^SET CALL 1201 DTMF 5$")
        sim.write("answer btn_released no => CALL 1201 STATUS FINISHED")
        sim.write("answer SEARCH ACTIVECALLS => CALLS")
        self.key(sim, KEY_NO)
        sim.wait_event("CMD", "^btn_released no$")
        ended = panel.event_count()
        panel.wait_event("STATUS", "ff 00 00 00$", start=ended)

        self.assertEqual([c for c in sim.commands()[mark:] if c != "SEARCH ACTIVECALLS"], [
            "FOCUS", "SET CALL 1201 STATUS INPROGRESS",
            "FOCUS", "SET CALL 1201 DTMF 5",
            "btn_released no",
        ])
        # The end status made the bridge ask for the calls at once, not only at the next tick.
        finished = sim.commands().index("btn_released no")
        self.assertIn("SEARCH ACTIVECALLS", sim.commands()[finished:])

    def test_device_request_is_relayed_and_the_answer_forwarded(self):
        sim, panel = self.start_all()
        mark = len(sim.commands())
        panel.write("request GET RINGER")
        panel.wait_event("REQUEST", "^GET RINGER RESULT 1$")
        sim.wait_event("CMD", "^GET RINGER$", start=0, count=2)
        panel.wait_event("TEXT", "^cb=17 RINGER USB PHONE$")
        self.assertIn("GET RINGER", sim.commands()[mark:])

    def test_other_requests_are_not_relayed(self):
        sim, panel = self.start_all()
        panel.write("request SET MUTE ON")
        panel.write("request CALL echo123")
        panel.wait_event("REQUEST", "RESULT 1$", count=2)
        panel.write("request GET AUDIO_OUT")
        sim.wait_event("CMD", "^GET AUDIO_OUT$")
        self.assertNotIn("SET MUTE ON", sim.commands())
        self.assertNotIn("CALL echo123", sim.commands())

    def test_farewell_stops_the_reports(self):
        _, panel = self.start_all()
        panel.write("farewell")
        panel.wait_event("FAREWELL", "RESULT")
        time.sleep(0.3)
        after = panel.event_count()
        time.sleep(2.5)
        self.assertEqual(panel.reports(after), [])

    def test_skype_closing_clears_the_attached_bit_within_a_second(self):
        sim, panel = self.start_all()
        self.assertEqual(panel.reports()[-1][0], SKYPE_ATTACHED)
        sim.quit()
        closed = panel.event_count()
        started = time.monotonic()
        panel.wait_event("STATUS", "^0x0000 ff", start=closed, timeout=5)
        self.assertLess(time.monotonic() - started, 3.0)

    def test_a_hung_panel_does_not_hold_up_skype(self):
        sim, panel = self.start_all()
        panel.write("freeze 8000")
        time.sleep(0.5)
        started = time.monotonic()
        sim.write("notify AUDIO_OUT Speakers")
        sim.wait_event("NOTIFY", "^AUDIO_OUT Speakers RESULT 1$", timeout=7)
        # The panel stays frozen for 8 s; the bridge gives it half a second.
        self.assertLess(time.monotonic() - started, 6)


class PanelHandshake(WineTestCase):
    def test_panel_running_before_the_bridge(self):
        panel = self.panelsim()
        self.bridge()
        panel.wait_event("DISCOVER")
        panel.wait_event("STATUS", "^0x0000 ff 00 00 00$")

    def test_panel_starting_after_the_bridge(self):
        self.bridge()
        time.sleep(1.5)
        panel = self.panelsim("announce")
        panel.wait_event("DISCOVER")
        self.assertEqual(len(panel.events("DISCOVER")), 1)
        panel.wait_event("STATUS", "^0x0000 ff 00 00 00$")


if __name__ == "__main__":
    unittest.main()
