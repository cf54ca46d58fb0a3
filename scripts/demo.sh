#!/usr/bin/env bash
# The bridge under Wine with the Skype simulator and a simulated handset: one incoming call,
# taken and ended at the handset, narrated line by line (what Skype says, what the bridge
# sends, what the handset is told).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/setup.sh"
"$top/scripts/build.sh" x64 >/dev/null

bin="$top/build/x64"
export WINEPREFIX="$bin/wineprefix"
"$top/scripts/wine-prefix.sh" "$WINEPREFIX"
export HANDSETLINK_EXE="$bin/bridge/win32/handsetlink.exe"
export SKYPESIM_EXE="$bin/tools/skypesim/skypesim.exe"
export PANELSIM_EXE="$bin/tools/panelsim/panelsim.exe"
export HANDSETSIM_EXE="$bin/tools/handsetsim/handsetsim.exe"
export HANDSETSIM_DLLS="$bin/tools/handsetsim/dlls"
python3 "$top/scripts/demo.py"
