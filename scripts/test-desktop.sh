#!/usr/bin/env bash
# The desktop stage: the editor on a virtual X display (Xvfb) with a window manager
# (openbox) and Qt's real dialogs, at 96 pixels per inch and at 120 (Qt's scale 1.25), and GTK's
# file dialogs through Qt's gtk3 platform theme; and the
# window as a screen reader reads it through AT-SPI (tests/desktop/accessible_names.py, in a
# D-Bus session of its own).
# Usage: scripts/test-desktop.sh [BUILD-DIR]     (default: build; built when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bash scripts/install-deps.sh build desktop
[ -x "$build/tests/test_desktop_DesktopTest" ] && [ -x "$build/src/app/zelqua-editor" ] || bash scripts/build.sh "$build"

say() { echo "test-desktop: $*"; }
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; [ -z "${state:-}" ] || rm -rf "$state"; }
trap cleanup EXIT

# shellcheck source=scripts/x-session.sh
source scripts/x-session.sh
start_x_session 90

export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
# A state folder of the stage's own (the scripts give each editor they start a fresh one):
# no work kept by an earlier run is offered here.
state=$(mktemp -d)
export XDG_STATE_HOME=$state
status=0
for dpi in 96 120; do
  say "at $dpi pixels per inch"
  if [ "$dpi" = 96 ]; then
    "$build/tests/test_desktop_DesktopTest" || status=1
    dbus-run-session -- /usr/bin/python3 tests/desktop/accessible_names.py "$build/src/app/zelqua-editor" || status=1
  else
    QT_FONT_DPI=$dpi "$build/tests/test_desktop_DesktopTest" || status=1
    QT_FONT_DPI=$dpi dbus-run-session -- /usr/bin/python3 tests/desktop/accessible_names.py "$build/src/app/zelqua-editor" || status=1
  fi
done
# GTK's file dialogs through Qt's gtk3 platform theme, with a home of their own (no folder
# remembered from an earlier run) and a D-Bus session for GTK.
say "GTK's file dialogs"
gtk_home=$(mktemp -d)
HOME=$gtk_home QT_QPA_PLATFORMTHEME=gtk3 dbus-run-session -- "$build/tests/test_desktop_DesktopTest" desktopFileDialogs || status=1
rm -rf "$gtk_home"

# The editor killed with SIGKILL once its work (a mon file named on its command line) is
# kept: the next start shows the question about it first, Return restores it, and closing
# the window then removes the kept work.
say "a killed editor's work at the next start"
kill_state=$(mktemp -d)
kept="$kill_state/zelqua-editor"
printf '2,"j42","T"\r\n0,"","G"\r\n15,"A1","Q1"\r\n15,"A2","Q2"\r\n' > "$kill_state/a.mon"
XDG_STATE_HOME=$kill_state "$build/src/app/zelqua-editor" "$kill_state/a.mon" 2>/dev/null &
editor=$!
for _ in $(seq 100); do ls "$kept"/work-*/state > /dev/null 2>&1 && break; sleep 0.2; done
kill -KILL "$editor"; wait "$editor" 2>/dev/null || true
if ! ls "$kept"/work-*/state > /dev/null 2>&1; then
  say "FAIL: the editor kept no work"; status=1
else
  XDG_STATE_HOME=$kill_state "$build/src/app/zelqua-editor" 2>/dev/null &
  editor=$!
  pids+=("$editor")
  box=""
  for _ in $(seq 100); do box=$(xdotool search --onlyvisible --name '^確認$' 2>/dev/null | head -1 || true); [ -n "$box" ] && break; sleep 0.2; done
  if [ -z "$box" ]; then
    say "FAIL: no question about the kept work"; status=1
  else
    xdotool windowactivate --sync "$box" 2>/dev/null || true
    xdotool key Return
    sleep 1
    if ls -d "$kept"/damaged-* > /dev/null 2>&1 || ! ls -d "$kept"/work-* > /dev/null 2>&1; then
      say "FAIL: Return did not restore the kept work"; status=1
    fi
    window=$(xdotool search --onlyvisible --name '^Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1$' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && wmctrl -i -c "$window" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$editor" 2>/dev/null || break; sleep 0.2; done
    if ls -d "$kept"/work-* > /dev/null 2>&1; then
      say "FAIL: closing the window left the kept work"; status=1
    else
      say "the question came first, Return restored the work, closing removed it"
    fi
  fi
  kill "$editor" 2>/dev/null || true
fi
rm -rf "$kill_state"
exit $status
