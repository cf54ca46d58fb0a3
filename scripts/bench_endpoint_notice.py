#!/usr/bin/env python3
"""Times a level changed elsewhere on the handset's speaker endpoint until the panel's speaker
slider moves, under Wine: the real trayconsole.exe over the endpoint simulator, beside the
bridge, the Skype simulator, a simulated handset and the stand-in winmm.dll, as the Wine tests
run it. From the simulator's NOTIFY (the change carried out for another program, its notice
queued) to the speaker track bar's value change as an accessibility client hears it
(desktopsim's watch). Both are stamped on the performance counter, one clock for every
process. Prints median and 99th percentile.
Usage: bench_endpoint_notice.py [CHANGES]  (the programs come from the environment, as
scripts/bench.sh sets it)."""
import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "wine"))
from audio_endpoints import EndpointProbe  # noqa: E402
from winetest import run_once  # noqa: E402
from test_panel_endpoints import SPEAKER, STORED, PanelEndpoints, stamp  # noqa: E402

# Each level changed elsewhere, and the speaker track bar's position that shows it.
LEVELS = ((0.25, 16384), (0.75, 49151))


class Bench(PanelEndpoints):
    def runTest(self):
        changes = int(sys.argv[1]) if len(sys.argv) > 1 else 100
        self.start_all(settings=STORED)
        # One other program for every change, as a mixer left open would be.
        other = self.start(EndpointProbe(env=self.endpoints.env))
        start = self.desktop.event_count()
        self.desktop.write("watch on")
        self.desktop.wait_event("WATCH", "^on", start=start)

        latencies = []
        for i in range(changes):
            level, position = LEVELS[i % 2]
            mark = len(self.endpoints.lines())
            events = self.desktop.event_count()
            self.assertEqual(other.ask(f"remote {self.pipe} level {level} {SPEAKER}", "REMOTE"), "ok")
            moved = self.desktop.wait_event("VALUE", f"^out {position}$", start=events)
            notified = self.endpoints.lines()[
                self.endpoints.wait_for(f'NOTIFY endpoint="{SPEAKER}" level={level:.6f} ', start=mark)]
            latency = float(moved.split()[0]) - stamp(notified) * 1000
            # One clock: a slider that moved before the change was made is a fault of the bench.
            self.assertGreater(latency, 0, f"{notified} / {moved}")
            latencies.append(latency)

        latencies.sort()
        p99 = latencies[min(len(latencies) - 1, int(len(latencies) * 0.99))]
        print(f"endpoint level changed elsewhere -> the panel's slider moved: median "
              f"{statistics.median(latencies):.3f} ms, 99th percentile {p99:.3f} ms, max {latencies[-1]:.3f} ms "
              f"({len(latencies)} changes)")


if __name__ == "__main__":
    run_once(Bench)
