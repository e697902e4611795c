# Sourced by the desktop scripts: starts a virtual X display (Xvfb) on a free display number
# with openbox managing it, exports DISPLAY, and adds both processes to the caller's `pids`
# array, which the caller ends on exit.
start_x_session() {
  local display=${1:-90}
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  export DISPLAY=":$display"
  for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start on $DISPLAY" >&2; return 1; }
  openbox >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 1 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
  sleep 1 # the manager announces itself before it manages windows
}
