#!/usr/bin/env python3
"""Prints the bridge's figures with a simulated handset under Wine: the time from an input
report to its Skype command and from a Skype notification to the mode report it causes, the
bridge's CPU time over idle seconds, and its memory.
Usage: bench_handset.py [EVENTS] [IDLE_SECONDS]  (the programs come from the environment,
as scripts/bench.sh sets it).

Both simulators stamp their events with the machine's performance counter, one clock for
every process, so a stamp of one is subtracted from a stamp of the other as it is."""
import bisect
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "wine"))
from winetest import WineTestCase, run_once  # noqa: E402

KEY_UP = 0x11
KEY_TARGET = "target: median under 2 ms, 99th percentile under 10 ms"
# Two notifications that each change the handset's mode: to mute, and back to standby.
NOTIFICATIONS = ("MUTE ON", "CALLS")


def stamps(program, kind, part="", start=0):
    """The stamps (ms) of the program's events of this kind, from line `start` on, whose text
    holds `part`."""
    out = []
    for line in program.lines()[start:]:
        stamp, event, text = (line.split(" ", 2) + [""])[:3]
        if event == kind and part in text:
            out.append(float(stamp))
    return out


def latencies(causes, effects):
    """For each effect, the time since the latest cause before it."""
    out = []
    for effect in effects:
        i = bisect.bisect_right(causes, effect)
        if i:
            out.append(effect - causes[i - 1])
    return sorted(out)


def print_figures(name, values, target=""):
    p99 = values[min(len(values) - 1, int(len(values) * 0.99))]
    print(f"{name}: {len(values)} events, median {statistics.median(values):.3f} ms, "
          f"99th percentile {p99:.3f} ms, max {values[-1]:.3f} ms" + (f" ({target})" if target else ""))


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    ticks = os.sysconf("SC_CLK_TCK")
    return (int(fields[11]) + int(fields[12])) / ticks  # utime + stime


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


class Bench(WineTestCase):
    def runTest(self):
        events = int(sys.argv[1]) if len(sys.argv) > 1 else 300
        idle = float(sys.argv[2]) if len(sys.argv) > 2 else 60
        hs = self.handsetsim("device 1 0x0A5E 0x9001")
        sim = self.skypesim("attach 0", "answer GET RINGER => RINGER USB PHONE")
        bridge = self.bridge(handsets=True)
        sim.wait_event("NOTIFY", "^RINGER")
        time.sleep(1)

        # Key -> command: from the report's queueing in the handset simulator (readable by the
        # bridge's pending read from then on) to the command's arrival at the Skype simulator.
        for _ in range(events):
            hs.write(f"press {KEY_UP:#04x}")
            hs.write("release")
            time.sleep(0.02)
        sim.wait_event("CMD", "^btn_released up$", count=events, timeout=60)
        print_figures("input report -> Skype command",
                      latencies(stamps(hs, "QUEUE", f" 00 00 00 {KEY_UP:02x}"),
                                stamps(sim, "CMD", "btn_released up")), KEY_TARGET)

        # Notification -> mode report: from the start of the Skype simulator's send to the
        # report's arrival at the handset simulator.
        hs_start, sim_start = hs.event_count(), sim.event_count()
        for i in range(events):
            sim.write(f"notify {NOTIFICATIONS[i % 2]}")
            sim.write("sleep 10")
        hs.wait_event("OUTPUT", count=events, start=hs_start, timeout=60)
        print_figures("Skype notification -> mode report",
                      latencies(stamps(sim, "NOTIFY", start=sim_start), stamps(hs, "OUTPUT", start=hs_start)))

        pid = bridge.proc.pid
        before = cpu_seconds(pid)
        time.sleep(idle)
        used = cpu_seconds(pid) - before
        print(f"idle with one handset: {used:.2f} s CPU in {idle:.0f} s = {100 * used / idle:.2f}% of one core "
              f"(target: under 0.5%)")
        print(f"memory: {resident_kib(pid) / 1024:.1f} MiB resident (Wine's own share included)")


if __name__ == "__main__":
    run_once(Bench)
