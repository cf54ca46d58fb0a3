#!/usr/bin/env python3
"""Times a level change made elsewhere on the handset's speaker endpoint until the handset's
volume shows it, under Wine over the endpoint simulator: from the command to the simulator to
the probe's SHOW, through the simulator's notice thread, the endpoint callback's posted
message and the window thread. One process, one clock. Prints median and 99th percentile.
Usage: bench_endpoint_notice.py BUILD_DIR [CHANGES]"""
import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "wine"))
from audio_endpoints import EndpointProbe, StandInEndpoints  # noqa: E402

SPEAKER = "Speaker (USB Phone)"


def main():
    build = sys.argv[1]
    changes = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    os.environ["ENDPOINTPROBE_EXE"] = os.path.join(build, "tools/endpointprobe/endpointprobe.exe")
    os.environ["MMDEVSIM_DLLS"] = os.path.join(build, "tools/mmdevsim/dlls")
    latencies = []
    with StandInEndpoints() as sim:
        probe = EndpointProbe(env=sim.env)
        try:
            assert probe.ask("find", "FOUND") == "1"
            for i in range(changes):
                level, volume = (0.25, 16384) if i % 2 == 0 else (0.75, 49151)
                start = probe.event_count()
                probe.write(f"sim level {level} {SPEAKER}")
                shown = probe.wait_event("SHOW", f"side=speaker volume={volume} ", start=start)
                sent = probe.wait_event("SIM-SENT", start=start)
                latencies.append(float(shown.split()[0]) - float(sent.split()[0]))
        finally:
            probe.quit()
    latencies.sort()
    p99 = latencies[min(len(latencies) - 1, int(len(latencies) * 0.99))]
    print(f"endpoint level changed elsewhere -> shown: median {statistics.median(latencies):.2f} ms, "
          f"99th percentile {p99:.2f} ms ({len(latencies)} changes)")


if __name__ == "__main__":
    main()
