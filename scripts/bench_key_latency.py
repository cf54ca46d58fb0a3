#!/usr/bin/env python3
"""Times handset keys through the bridge under Wine: from a posted WM_HANDSETKEY (Up key) to
the "btn_released up" it causes arriving at the Skype simulator. Prints median and 99th
percentile. Usage: bench_key_latency.py BUILD_DIR [PRESSES]"""
import os
import statistics
import subprocess
import sys
import tempfile

WM_HANDSETKEY = 0x0400 + 100
KEY_UP = 17


def main():
    build = sys.argv[1]
    presses = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    skypesim = os.path.join(build, "tools/skypesim/skypesim.exe")
    bridge = os.path.join(build, "bridge/win32/handsetlink.exe")
    lines = ["attach 0", "answer GET RINGER => RINGER USB PHONE", "wait-cmd GET USERSTATUS"]
    for _ in range(presses):
        lines += [f"post {WM_HANDSETKEY} {KEY_UP} 0", "wait-cmd btn_released up"]
    lines += ["post 16 0 0", "sleep 300", "quit"]
    with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as scenario:
        scenario.write("\n".join(lines) + "\n")

    env = dict(os.environ, WINEDEBUG="-all", PATH="/usr/lib/wine:" + os.environ["PATH"],
               WINEDLLOVERRIDES="winedbg.exe=d")
    sim = subprocess.Popen(["wine64", skypesim, scenario.name], stdout=subprocess.PIPE, env=env)
    first = sim.stdout.readline()  # READY: the simulator's window is there
    assert b"READY" in first, first
    subprocess.Popen(["wine64", bridge], env=env).wait(timeout=600)
    output = sim.communicate(timeout=600)[0].decode("latin-1").splitlines()
    os.unlink(scenario.name)

    latencies = []
    posted = None
    for line in output:
        parts = line.split(" ", 2)
        if len(parts) < 3:
            continue
        ms, event, details = float(parts[0]), parts[1], parts[2]
        if event == "POST" and details == f"{WM_HANDSETKEY} {KEY_UP} 0":
            posted = ms
        elif event == "CMD" and details == "btn_released up" and posted is not None:
            latencies.append(ms - posted)
            posted = None
    if not latencies:
        sys.exit("no key went through; simulator output:\n" + "\n".join(output[-20:]))
    latencies.sort()
    p99 = latencies[min(len(latencies) - 1, int(len(latencies) * 0.99))]
    print(f"handset key -> Skype command under Wine: {len(latencies)} presses, "
          f"median {statistics.median(latencies):.3f} ms, 99th percentile {p99:.3f} ms, "
          f"max {latencies[-1]:.3f} ms")


if __name__ == "__main__":
    main()
