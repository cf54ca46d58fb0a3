#!/usr/bin/env python3
"""Prints the bridge's figures with a simulated handset under Wine: the time from an input
report to its Skype command, the bridge's CPU time over idle seconds, and its memory.
Usage: bench_handset.py [PRESSES] [IDLE_SECONDS]  (the programs come from the environment,
as scripts/bench.sh sets it)."""
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "wine"))
from winetest import WineTestCase  # noqa: E402

KEY_UP = 0x11


def clock_offset(program):
    # Each simulator stamps events on its own clock; the smallest gap between a line's stamp
    # and its arrival here is the best estimate of where that clock stands against ours.
    lines = program.lines()
    return min(program.arrival(i) - float(line.split()[0]) / 1000 for i, line in enumerate(lines))


def stamped(program, kind, part):
    """Our clock's times of the program's events of this kind whose text holds `part`."""
    offset = clock_offset(program)
    times = []
    for line in program.lines():
        stamp, event, text = (line.split(" ", 2) + [""])[:3]
        if event == kind and part in text:
            times.append(offset + float(stamp) / 1000)
    return times


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
        presses = int(sys.argv[1]) if len(sys.argv) > 1 else 200
        idle = float(sys.argv[2]) if len(sys.argv) > 2 else 60
        hs = self.handsetsim("device 1 0x0A5E 0x9001")
        sim = self.skypesim("attach 0", "answer GET RINGER => RINGER USB PHONE")
        bridge = self.bridge(handsets=True)
        sim.wait_event("NOTIFY", "^RINGER")
        time.sleep(1)

        for _ in range(presses):
            hs.write(f"press {KEY_UP:#04x}")
            hs.write("release")
            time.sleep(0.02)
        sim.wait_event("CMD", "^btn_released up$", count=presses, timeout=60)

        # The simulator stamps a report once it learns that the bridge has read it, so these
        # figures may be a little short of the whole way.
        inputs = stamped(hs, "INPUT", " 00 00 00 11")
        commands = stamped(sim, "CMD", "btn_released up")
        latencies = sorted((c - i) * 1000 for i, c in zip(inputs, commands))
        p99 = latencies[min(len(latencies) - 1, int(len(latencies) * 0.99))]
        print(f"input report -> Skype command: {len(latencies)} presses, median "
              f"{statistics.median(latencies):.2f} ms, 99th percentile {p99:.2f} ms (target: median under 5 ms)")

        pid = bridge.proc.pid
        before = cpu_seconds(pid)
        time.sleep(idle)
        used = cpu_seconds(pid) - before
        print(f"idle with one handset: {used:.2f} s CPU in {idle:.0f} s = {100 * used / idle:.2f}% of one core "
              f"(target: under 0.5%)")
        print(f"memory: {resident_kib(pid) / 1024:.1f} MiB resident (Wine's own share included)")


if __name__ == "__main__":
    bench = Bench()
    bench.setUp()
    try:
        bench.runTest()
    finally:
        bench.tearDown()
        bench.doCleanups()
