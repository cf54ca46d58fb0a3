#!/usr/bin/env bash
# The README's pictures of the control panel: its Setup and About pages as a user sees them,
# linked to the bridge, the Skype simulator and a simulated handset, on Windows 7 over the
# endpoint simulator with stored volumes, at 96, 120, 144 and 192 dpi. The panel runs under
# Xvfb in Wine's virtual desktop (X11 driver, with a taskbar and its notification area), in a
# prefix of its own: build/x64/wineprefix-x11. Each dpi also checks that the handset's volume
# group is on with the stored values and that the tab strip shows every tab whole, without
# scroll arrows. Writes
# build/screenshots/panel-{setup,about}-DPIdpi.png, copies the 96-dpi pair to
# docs/panel-setup.png and docs/panel-about.png and the 144-dpi Setup page to
# docs/panel-setup-144dpi.png, and leaves nothing running.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/setup.sh"
"$top/scripts/build.sh" x64 >/dev/null
. "$top/scripts/wine-env.sh"
export WINEPREFIX="$top/build/x64/wineprefix-x11"

# A free display for Xvfb.
display=""
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY="$display"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

# The prefix, once: the X11 driver (no null graphics), no audio driver, and every program
# in one virtual desktop named "shell", which has a taskbar.
if [ ! -f "$WINEPREFIX/.x11-ready" ]; then
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wine64 wineboot -i >/dev/null 2>&1
  wine64 reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "" /f >/dev/null 2>&1
  wine64 reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
  # Wine's own fonts (Tahoma for dialogs, Marlett for the caption buttons), where it looks.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  wineserver -k || true
  wineserver -w || true
  touch "$WINEPREFIX/.x11-ready"
fi
# Room for the window at 192 dpi.
wine64 reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1280x900 /f >/dev/null 2>&1

bin="$top/build/x64"
export TRAYCONSOLE_EXE="$bin/panel/win32/trayconsole.exe"
export HANDSETLINK_EXE="$bin/bridge/win32/handsetlink.exe"
export SKYPESIM_EXE="$bin/tools/skypesim/skypesim.exe"
export HANDSETSIM_EXE="$bin/tools/handsetsim/handsetsim.exe"
export HANDSETSIM_DLLS="$(dirname "$(find "$bin/tools/handsetsim" -name hid.dll | head -1)")"
export DESKTOPSIM_EXE="$bin/tools/desktopsim/desktopsim.exe"
export WINMMSIM_DLLS="$(dirname "$(find "$bin/tools/winmmsim" -name winmm.dll | head -1)")"
export MMDEVSIM_DLLS="$bin/tools/mmdevsim/dlls"
shots="$top/build/screenshots"
mkdir -p "$shots"
for dpi in 96 120 144 192; do
  # Wine reads the dpi when its server starts.
  wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w || true
  python3 "$top/scripts/screenshots.py" "$shots" "$dpi"
done
wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
cp "$shots/panel-setup-96dpi.png" "$top/docs/panel-setup.png"
cp "$shots/panel-about-96dpi.png" "$top/docs/panel-about.png"
cp "$shots/panel-setup-144dpi.png" "$top/docs/panel-setup-144dpi.png"
echo "screenshots in $shots" 
