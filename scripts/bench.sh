#!/usr/bin/env bash
# Prints the bridge's figures: notifications a second through the logic (native, optimised, in
# build/bench); under Wine the time from a posted handset key and from a handset's input report
# to the Skype command, from a Skype notification to the handset's mode report, idle CPU with
# one handset, and memory; the time from an endpoint level changed elsewhere to the panel's
# speaker slider moving (the real panel over the endpoint simulator); and how long a frozen
# Skype holds the bridge. Figures, not pass/fail.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/setup.sh"
# Its own trees and prefix: the test trees keep their build type, and the tests their prefix.
"$top/scripts/build.sh" bench >/dev/null
"$top/scripts/build.sh" x64 >/dev/null
"$top/build/bench/bench/bridge_notifications_bench" --benchmark_min_time=0.5

export WINEPREFIX="$top/build/bench/wineprefix"
"$top/scripts/wine-prefix.sh" "$WINEPREFIX"
python3 "$top/scripts/bench_key_latency.py" "$top/build/x64" "${PRESSES:-300}"

bin="$top/build/x64"
export HANDSETLINK_EXE="$bin/bridge/win32/handsetlink.exe" SKYPESIM_EXE="$bin/tools/skypesim/skypesim.exe"
export HANDSETSIM_EXE="$bin/tools/handsetsim/handsetsim.exe" HANDSETSIM_DLLS="$bin/tools/handsetsim/dlls"
python3 "$top/scripts/bench_handset.py" "${PRESSES:-300}" "${IDLE_SECONDS:-60}"
export TRAYCONSOLE_EXE="$bin/panel/win32/trayconsole.exe" DESKTOPSIM_EXE="$bin/tools/desktopsim/desktopsim.exe"
export WINMMSIM_DLLS="$bin/tools/winmmsim/dlls" MMDEVSIM_DLLS="$bin/tools/mmdevsim/dlls"
export ENDPOINTPROBE_EXE="$bin/tools/endpointprobe/endpointprobe.exe"
python3 "$top/scripts/bench_endpoint_notice.py" "${CHANGES:-100}"

# A frozen Skype: the longest wait for it, and how long the bridge's window is held.
export PANELSIM_EXE="$bin/tools/panelsim/panelsim.exe"
python3 "$top/scripts/bench_frozen_skype.py" "${FROZEN_ROUNDS:-3}"
