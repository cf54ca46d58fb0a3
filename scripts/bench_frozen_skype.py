#!/usr/bin/env python3
"""Prints how long a frozen Skype keeps the bridge waiting under Wine: the longest single
wait for Skype (a relayed panel request, whose sender the bridge releases as soon as Skype
has failed to answer), and the longest time the bridge's window stays away from its message
queue for one command Skype does not answer (that wait and the discovery after it, which is
posted and so waits for no one), and for two in a row (the second waits only briefly).
Usage: bench_frozen_skype.py [ROUNDS]  (the programs come from the environment, as
scripts/bench.sh sets it)."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "wine"))
from winetest import WineTestCase, run_once  # noqa: E402

WM_HANDSETKEY = 0x0400 + 100
WM_SKYPEQUERY = 0x0400 + 101
# Long enough to outlast every wait the bridge makes, short of what Windows calls hung (5 s).
FREEZE_MS = 4500
PROBE_INTERVAL = 0.025


def probe_delays(panel, start):
    """For each probe posted from line `start` on, the ms until its key report came back
    (the periodic reports are told apart by their key byte, 0xff)."""
    posted, reported = [], []
    for line in panel.lines()[start:]:
        parts = line.split()
        if len(parts) >= 3 and parts[1] == "POST" and parts[2] == str(WM_HANDSETKEY):
            posted.append(float(parts[0]))
        elif len(parts) == 7 and parts[1] == "STATUS" and parts[3] != "ff":
            reported.append(float(parts[0]))
    return [r - p for p, r in zip(posted, reported)]


class Bench(WineTestCase):
    def runTest(self):
        rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 3
        # The panel waits longer than the bridge may, so that the bridge's own bound shows.
        panel = self.panelsim("send-timeout 10000")
        sim = self.skypesim("attach 0", "answer GET RINGER => RINGER Speakers",
                            "answer GET AUDIO_OUT => AUDIO_OUT Speakers")
        self.bridge()
        sim.wait_event("CMD", "^GET USERSTATUS$")
        panel.wait_event("STATUS")

        request_waits = []
        for i in range(rounds):
            sim.write(f"freeze {FREEZE_MS}")
            time.sleep(0.3)
            sent = time.monotonic()
            panel.write("request GET AUDIO_OUT")
            panel.wait_event("REQUEST", count=i + 1, timeout=15)
            request_waits.append((time.monotonic() - sent) * 1000)
            time.sleep(FREEZE_MS / 1000 + 0.5)
        print(f"frozen Skype, one command: worst wait {max(request_waits):.0f} ms over {rounds} commands "
              f"(target: under 1100 ms)")

        for commands, target in ((1, 1100), (2, 1200)):
            away = []
            for _ in range(rounds):
                sim.write(f"freeze {FREEZE_MS}")
                time.sleep(0.3)
                start = panel.event_count()
                for _ in range(commands):
                    panel.write(f"post {WM_SKYPEQUERY} 1 0")  # a command to Skype: SEARCH ACTIVECALLS
                probes_until = time.monotonic() + FREEZE_MS / 1000
                while time.monotonic() < probes_until:
                    panel.write(f"post {WM_HANDSETKEY} 0 0")  # answered by a key report
                    time.sleep(PROBE_INTERVAL)
                time.sleep(0.5)
                away.append(max(probe_delays(panel, start)))
            print(f"frozen Skype, {commands} command(s) in a row: the bridge's window away from its queue "
                  f"for at most {max(away):.0f} ms (target: under {target} ms)")


if __name__ == "__main__":
    run_once(Bench)
