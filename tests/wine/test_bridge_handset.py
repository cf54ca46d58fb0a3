"""handsetlink.exe with simulated handsets (stand-in HID libraries), the Skype simulator and
the panel stand-in: real key presses on the handset in, mode reports to the handset out."""
import time
import unittest

from winetest import WineTestCase, reg_delete, reg_query

SETTINGS_KEY = r"HKCU\Software\TALVEK\USB_PHONE_K42"
HANDSET = "device 1 0x0A5E 0x9001"
STANDBY, BUZZER, MUTE, CALL_OUT, TALKING = 0, 1, 2, 4, 6
KEY = {"yes": 0x1B, "no": 0x16, "1": 0x23, "2": 0x1E, "5": 0x22, "0": 0x17, "*": 0x1C,
       "ring": 0x1A}
SKYPE_START_UP = [
    "attach 0",
    "answer SEARCH ACTIVECALLS => CALLS",
    "answer GET MUTE => MUTE OFF",
    "answer GET USERSTATUS => USERSTATUS ONLINE",
    "answer GET RINGER => RINGER USB PHONE",
]


class HandsetTestCase(WineTestCase):
    def start_all(self, *devices, panel=False):
        reg_delete(SETTINGS_KEY)
        self.hs = self.handsetsim(*(devices or [HANDSET]))
        self.panel = self.panelsim() if panel else None
        self.sim = self.skypesim(*SKYPE_START_UP)
        self.link = self.bridge(handsets=True)
        # Attached, the ringing device known, and the first standby written.
        self.sim.wait_event("NOTIFY", "^RINGER USB PHONE")
        self.hs.wait_event("OUTPUT", "00 40 00")

    def press(self, name, dev=1):
        self.hs.write(f"press {KEY[name]:#04x} dev={dev}")
        self.hs.write(f"release dev={dev}")

    def command_mark(self):
        return len(self.sim.commands())

    def commands_since(self, mark):
        # The timer's polls come and go with timing; the keys' commands do not.
        return [c for c in self.sim.commands()[mark:] if c not in ("SEARCH ACTIVECALLS", "GET RINGER")]

    def ring(self, call="1201"):
        self.sim.write(f"answer GET CALL {call} TYPE => CALL {call} TYPE INCOMING_P2P")
        self.sim.write(f"answer SEARCH ACTIVECALLS => CALLS {call}")
        self.sim.write(f"notify CALL {call} STATUS RINGING")
        self.hs.wait_event("OUTPUT", "00 40 01", count=2)

    def answer_call(self, call="1201"):
        self.sim.write(f"answer SET CALL {call} STATUS INPROGRESS => CALL {call} STATUS INPROGRESS")
        self.press("yes")
        self.hs.wait_event("OUTPUT", "00 40 06")


class IncomingCall(HandsetTestCase):
    def test_taken_and_ended_at_the_handset(self):
        self.start_all()
        start = self.hs.event_count()
        mark = self.command_mark()
        self.ring()
        self.answer_call()
        self.sim.write("answer btn_released no => CALL 1201 STATUS FINISHED")
        self.sim.write("answer SEARCH ACTIVECALLS => CALLS")
        self.press("no")
        self.hs.wait_event("OUTPUT", "00 40 00", start=start)

        # The stored ring tone (128, written at the first start) rides on the ringing reports.
        self.assertEqual(self.hs.modes(start=start),
                         [(BUZZER, 0x80), (BUZZER, 0x80), (TALKING, 0x80), (STANDBY, 0x80)])
        self.assertEqual(self.commands_since(mark), [
            "GET CALL 1201 TYPE", "FOCUS", "SET CALL 1201 STATUS INPROGRESS", "btn_released no"])

    def test_rings_as_call_out_while_the_user_is_busy(self):
        self.start_all()
        self.sim.write("notify USERSTATUS DND")
        self.sim.wait_event("NOTIFY", "^USERSTATUS DND")
        start = self.hs.event_count()
        self.sim.write("answer GET CALL 1300 TYPE => CALL 1300 TYPE INCOMING_PSTN")
        self.sim.write("notify CALL 1300 STATUS RINGING")
        self.hs.wait_event("OUTPUT", "00 40 04", count=2, start=start)
        time.sleep(0.5)
        self.assertEqual([m for m, _ in self.hs.modes(start=start)], [CALL_OUT, CALL_OUT])

    def test_reports_reach_every_handset_in_the_same_order(self):
        self.start_all(HANDSET, "device 2 0x0B7C 0x90FF")
        self.ring()
        self.answer_call()
        self.hs.wait_event("OUTPUT", "00 40 06")
        time.sleep(0.3)
        self.assertEqual(self.hs.outputs(dev=1), self.hs.outputs(dev=2))
        self.assertGreaterEqual(len(self.hs.outputs(dev=2)), 4)


class Dialling(HandsetTestCase):
    def test_twenty_digits_at_most(self):
        self.start_all()
        mark = self.command_mark()
        for _ in range(21):
            self.press("1")
        self.sim.wait_event("CMD", "^FOCUS$", count=21)
        time.sleep(0.3)
        sent = self.commands_since(mark)
        self.assertEqual(sent.count("FOCUS"), 21)
        self.assertEqual(sent.count("btn_released 1"), 20)

    def test_held_zero_gives_plus_and_clear_takes_it_back(self):
        self.start_all()
        mark = self.command_mark()
        self.press("1")
        self.hs.write(f"hold {KEY['0']:#04x} 900")
        self.sim.wait_event("CMD", r"^btn_released \+$")
        # With something dialled the ring-tone key is Clear.
        self.press("ring")
        self.sim.wait_event("CMD", "^btn_released no$", count=2)
        time.sleep(0.3)
        self.assertEqual(self.commands_since(mark), [
            "FOCUS", "btn_released 1",
            "FOCUS", "btn_released 0",
            "FOCUS", "btn_released no", "btn_released +",
            "FOCUS", "btn_released no"])

    def test_held_clear_with_digits_dialled_empties_the_dial_buffer(self):
        self.start_all()
        mark = self.command_mark()
        for digit in ("1", "2", "5"):
            self.press(digit)
        self.sim.wait_event("CMD", "^btn_released 5$")
        # With something dialled the ring-tone key is Clear: pressed, it takes back the "5";
        # held, the buffer is emptied before the repeated Clear, so nothing is typed again.
        self.hs.write(f"hold {KEY['ring']:#04x} 900")
        self.sim.wait_event("CMD", "^btn_released no$", count=2)
        time.sleep(0.5)
        self.assertEqual(self.commands_since(mark), [
            "FOCUS", "btn_released 1", "FOCUS", "btn_released 2", "FOCUS", "btn_released 5",
            "FOCUS", "btn_released no", "btn_released 1", "btn_released 2",
            "FOCUS", "btn_released no"])

    def test_tones_and_mute_during_a_call(self):
        self.start_all()
        self.ring()
        self.answer_call()
        mark = self.command_mark()
        self.press("5")
        self.sim.wait_event("CMD", "^SET CALL 1201 DTMF 5$")
        # "*" held in a call is the mute key.
        self.sim.write("answer SET MUTE ON => MUTE ON")
        start = self.hs.event_count()
        self.hs.write(f"hold {KEY['*']:#04x} 900")
        self.hs.wait_event("OUTPUT", "00 40 02", start=start)
        self.assertEqual(self.commands_since(mark), [
            "FOCUS", "SET CALL 1201 DTMF 5",
            "FOCUS", "SET CALL 1201 DTMF *",
            "FOCUS", "SET MUTE ON"])

    def test_ring_tone_key_steps_and_stores_the_tone(self):
        self.start_all()
        start = self.hs.event_count()
        self.press("ring")
        self.press("ring")
        self.hs.wait_event("OUTPUT", "00 40 00 02", start=start)
        # A standby report even though the handset was in standby, carrying each new tone.
        self.assertEqual(self.hs.modes(start=start), [(STANDBY, 1), (STANDBY, 2)])
        self.assertEqual(reg_query(SETTINGS_KEY, "RingTone"), "0x2")


class Plugging(HandsetTestCase):
    def test_unplug_during_a_call_and_plug_back(self):
        self.start_all(panel=True)
        self.ring()
        self.answer_call()
        self.hs.write("unplug 1")
        self.hs.wait_event("UNPLUG")
        mark = self.panel.event_count()
        self.panel.wait_event("STATUS", "^0x0001 ff 00 00 06$", start=mark, timeout=5)
        self.assertTrue(self.link.running())

        start = self.hs.event_count()
        self.hs.write("plug 1")
        # The new handset gets the call's mode although it did not change.
        self.hs.wait_event("OUTPUT", "00 40 06", start=start)
        self.panel.wait_event("STATUS", "^0x0101 ff 00 00 06$", start=mark)
        self.press("5")
        self.sim.wait_event("CMD", "^SET CALL 1201 DTMF 5$")

    def test_a_device_of_another_usage_is_never_read(self):
        self.start_all(HANDSET, "device 2 0x0A5E 0x9002 usage=0x06")
        self.press("1")
        self.sim.wait_event("CMD", "^btn_released 1$")
        self.assertEqual(self.hs.outputs(dev=2), [])
        closes = [e for e in self.hs.events("CLOSE") if e.startswith("dev=2 ")]
        self.assertTrue(closes)
        self.assertTrue(all(e.endswith("kind=query") for e in closes), closes)
        self.assertFalse([e for e in self.hs.events("INPUT") if e.startswith("dev=2 ")])

    def test_standby_is_written_at_exit(self):
        self.start_all()
        self.ring()
        self.answer_call()
        start = self.hs.event_count()
        self.sim.write("post 16 0 0")  # WM_CLOSE to the bridge
        self.assertEqual(self.link.wait_exit(10), 0)
        self.assertEqual(self.hs.modes(start=start)[-1][0], STANDBY)


if __name__ == "__main__":
    unittest.main()
