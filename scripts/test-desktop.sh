#!/usr/bin/env bash
# The desktop stage: the editor on a virtual X display (Xvfb) with a window manager
# (openbox) and Qt's real dialogs, at 96 pixels per inch and at 120 (Qt's scale 1.25).
# Usage: scripts/test-desktop.sh [BUILD-DIR]     (default: build; built when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bash scripts/install-deps.sh build desktop
[ -x "$build/tests/test_desktop_DesktopTest" ] || bash scripts/build.sh "$build"

say() { echo "test-desktop: $*"; }
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT

# A display number nobody uses.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=":$display"
for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { say "Xvfb did not start"; exit 1; }
openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 1 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
sleep 1 # the manager announces itself before it manages windows

export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
status=0
for dpi in 96 120; do
  say "at $dpi pixels per inch"
  if [ "$dpi" = 96 ]; then
    "$build/tests/test_desktop_DesktopTest" || status=1
  else
    QT_FONT_DPI=$dpi "$build/tests/test_desktop_DesktopTest" || status=1
  fi
done
exit $status
