#!/usr/bin/env bash
# Makes a headless Wine prefix (null graphics driver, no audio driver) in $1, once; later
# calls find it ready and only make sure its wine server runs.
set -euo pipefail
prefix="${1:?usage: wine-prefix.sh PREFIX_DIR}"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/wine-env.sh"
export WINEPREFIX="$prefix"

if [ ! -f "$prefix/.headless-ready" ]; then
  rm -rf "$prefix"
  mkdir -p "$prefix"
  wine64 wineboot -i >/dev/null 2>&1
  wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  wine64 reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "" /f >/dev/null 2>&1
  # The driver change takes effect only after a restart of the prefix.
  wineserver -k || true
  wineserver -w || true
  touch "$prefix/.headless-ready"
fi
# Start the prefix's desktop once, so the first timed test does not pay for it.
wine64 cmd /c exit >/dev/null 2>&1
