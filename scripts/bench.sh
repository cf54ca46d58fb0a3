#!/usr/bin/env bash
# Prints the bridge's speed figures: notifications a second through the logic (native), and
# the time from a handset key to its Skype command under Wine. Figures, not pass/fail.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/setup.sh"
BUILD_TYPE=Release "$top/scripts/build.sh" native >/dev/null
"$top/scripts/build.sh" x64 >/dev/null
"$top/build/native/bench/bridge_notifications_bench" --benchmark_min_time=0.5

export WINEPREFIX="$top/build/x64/wineprefix"
"$top/scripts/wine-prefix.sh" "$WINEPREFIX"
python3 "$top/scripts/bench_key_latency.py" "$top/build/x64" "${PRESSES:-300}"
