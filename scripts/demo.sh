#!/usr/bin/env bash
# The bridge under Wine, attached to the Skype simulator, through one incoming call taken
# and ended at the (simulated) handset keys; prints every text the two exchange.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/setup.sh"
"$top/scripts/build.sh" x64 >/dev/null

export WINEPREFIX="$top/build/x64/wineprefix"
"$top/scripts/wine-prefix.sh" "$WINEPREFIX"
. "$top/scripts/wine-env.sh"

bin="$top/build/x64"
scenario="$top/tools/skypesim/scenarios/incoming-call.txt"
echo "Skype simulator log (ms since start, event, text):"
wine64 "$bin/tools/skypesim/skypesim.exe" "$scenario" &
sim=$!
sleep 1
wine64 "$bin/bridge/win32/handsetlink.exe" &
bridge=$!
wait "$sim"
wait "$bridge" && echo "handsetlink ended cleanly (exit code 0)."
