#!/usr/bin/env bash
# The desktop stage: the editor on a virtual X display (Xvfb) with a window manager
# (openbox) and Qt's real dialogs, at 96 pixels per inch and at 120 (Qt's scale 1.25); and the
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
exit $status
