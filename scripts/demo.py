#!/usr/bin/env python3
"""The demo: the bridge under Wine with the Skype simulator and a simulated handset, through
one incoming call taken and ended at the handset, narrated as it happens."""
import os
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "wine"))
from winetest import WineTestCase, run_once  # noqa: E402  (the programs and their logs)

MODES = {0: "standby", 1: "ringing (buzzer)", 2: "mute", 4: "call out", 6: "talking"}


class Narrator:
    """Tells the programs' events as one story. The simulators stamp their events on the
    machine's performance counter; that clock is put beside this script's own from the moment
    each said READY, and events are told a moment late so that the logs interleave in the
    order things happened."""

    DELAY = 0.15

    def __init__(self):
        self.lock = threading.Lock()
        self.started = time.monotonic()
        self.pending = []  # (time, text)
        self.sources = []  # (program, describe, clock offset, lines seen)
        self.done = False
        threading.Thread(target=self._run, daemon=True).start()

    def say(self, text):
        with self.lock:
            self.pending.append((time.monotonic(), text))

    def follow(self, program, describe):
        ready = program.lines()[0]  # "<ms> READY ..."
        offset = program.arrival(0) - float(ready.split()[0]) / 1000
        with self.lock:
            self.sources.append([program, describe, offset, 1])

    def finish(self):
        time.sleep(2 * self.DELAY)
        self.done = True
        self._tell(float("inf"))

    def _run(self):
        while not self.done:
            with self.lock:
                for source in self.sources:
                    program, describe, offset, seen = source
                    lines = program.lines()
                    for line in lines[seen:]:
                        parts = line.split(" ", 2)
                        text = describe(parts)
                        if text:
                            self.pending.append((offset + float(parts[0]) / 1000, text))
                    source[3] = len(lines)
            self._tell(time.monotonic() - self.DELAY)
            time.sleep(0.03)

    def _tell(self, until):
        with self.lock:
            self.pending.sort(key=lambda item: item[0])
            while self.pending and self.pending[0][0] <= until:
                at, text = self.pending.pop(0)
                print(f"{at - self.started:7.3f}  {text}", flush=True)


def skype_event(parts):
    if len(parts) < 3:
        return None
    if parts[1] == "CMD":
        return f"bridge  -> Skype    {parts[2]}"
    if parts[1] == "NOTIFY":
        return f"Skype   -> bridge   {parts[2].rsplit(' RESULT', 1)[0]}"
    if parts[1] == "ATTACH":
        return f"Skype   -> bridge   attach, status {parts[2].split()[0]}"
    return None


def handset_event(parts):
    if len(parts) < 3:
        return None
    if parts[1] == "OUTPUT":
        data = [int(b, 16) for b in parts[2].split()[2:]]
        return f"bridge  -> handset  mode {data[2]} ({MODES.get(data[2], '?')}), ring tone {data[3]:#04x}"
    return None


def press(story, handset, key, meaning):
    story.say(f"handset -> bridge   key {key:#04x} pressed and released ({meaning})")
    handset.write(f"press {key:#04x}")
    handset.write("release")


class Demo(WineTestCase):
    def runTest(self):
        story = Narrator()
        hs = self.handsetsim("device 1 0x0A5E 0x9001")
        sim = self.skypesim("attach 0", "answer SEARCH ACTIVECALLS => CALLS", "answer GET MUTE => MUTE OFF",
                            "answer GET USERSTATUS => USERSTATUS ONLINE",
                            "answer GET RINGER => RINGER USB PHONE")
        story.follow(sim, skype_event)
        story.follow(hs, handset_event)
        story.say("-- handsetlink starts; one handset is plugged in, Skype is running")
        bridge = self.bridge(handsets=True)
        sim.wait_event("NOTIFY", "^RINGER")
        hs.wait_event("OUTPUT")
        time.sleep(1.5)

        story.say("-- someone calls")
        sim.write("answer GET CALL 1201 TYPE => CALL 1201 TYPE INCOMING_P2P")
        sim.write("answer SEARCH ACTIVECALLS => CALLS 1201")
        sim.write("notify CALL 1201 STATUS RINGING")
        hs.wait_event("OUTPUT", "00 40 01", count=2)
        time.sleep(1.5)

        sim.write("answer SET CALL 1201 STATUS INPROGRESS => CALL 1201 STATUS INPROGRESS")
        press(story, hs, 0x1B, "Yes: the user takes the call")
        hs.wait_event("OUTPUT", "00 40 06")
        time.sleep(1.5)

        press(story, hs, 0x22, "5: a tone")
        sim.wait_event("CMD", "^SET CALL 1201 DTMF 5$")
        time.sleep(0.5)

        sim.write("answer btn_released no => CALL 1201 STATUS FINISHED")
        sim.write("answer SEARCH ACTIVECALLS => CALLS")
        press(story, hs, 0x16, "No: the user hangs up")
        hs.wait_event("OUTPUT", "00 40 00", start=len(hs.lines()) - 1)
        time.sleep(1.0)

        story.say("-- handsetlink is closed")
        sim.write("post 16 0 0")
        code = bridge.wait_exit(10)
        time.sleep(0.3)
        story.say(f"-- handsetlink ended with exit code {code}")
        story.finish()


if __name__ == "__main__":
    run_once(Demo)
