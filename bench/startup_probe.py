"""Starts the editor and a bare Qt window in turn on the current X display and times each
start until its top-level window is mapped: xev, started once, reports the root window's
MapNotify events as they happen (no polling, which would both delay the report and take a
core from the program timed); the mapped window's title is checked afterwards. Each start is
also timed to its first painted frame (paint_events.py), where the X server reports paints.
Prints each pair, the medians and the editor's medians as multiples of the bare window's.
Without a bare window's program it times the editor alone (the package check uses it to see
the window mapped)."""
import os
import queue
import statistics
import subprocess
import sys
import tempfile
import threading
import time

from paint_events import PaintEvents, paint_events

TITLE = "Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1"


class MapEvents:
    """The windows mapped on the root window, each with the time its event was read."""

    def __init__(self) -> None:
        self.xev = subprocess.Popen(["xev", "-root", "-event", "substructure"], stdout=subprocess.PIPE,
                                    text=True, bufsize=1)
        self.events: "queue.Queue[tuple[float, str]]" = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        time.sleep(0.3)  # xev has selected the events before the first start

    def _read(self) -> None:
        mapped_at = None
        for line in self.xev.stdout:
            if line.startswith("MapNotify"):
                mapped_at = time.perf_counter()
            elif mapped_at is not None and "window 0x" in line:
                # "    event 0x..., window 0x400006, override NO"
                window = line.split("window ")[1].split(",")[0]
                if "override NO" in line:
                    self.events.put((mapped_at, window))
                mapped_at = None

    def clear(self) -> None:
        while not self.events.empty():
            self.events.get_nowait()

    def next(self, timeout: float) -> "tuple[float, str] | None":
        try:
            return self.events.get(timeout=timeout)
        except queue.Empty:
            return None

    def close(self) -> None:
        self.xev.terminate()
        self.xev.wait()


def title_of(window: str) -> str:
    shown = subprocess.run(["xprop", "-id", window, "_NET_WM_NAME"], capture_output=True, text=True).stdout
    return shown.split(" = ", 1)[1].strip().strip('"') if " = " in shown else ""


class Start:
    """One start's times, in seconds from the program's start: its window mapped, and its
    first frame painted (None when paints are not reported)."""

    def __init__(self, mapped: float, painted: "float | None") -> None:
        self.mapped = mapped
        self.painted = painted


def one_start(events: MapEvents, paints: "PaintEvents | None", program: str, title: str) -> Start:
    # A state folder of its own for each start: a work the previous start left when it was
    # ended puts no question in front of this one.
    state = tempfile.TemporaryDirectory()
    environment = dict(os.environ, XDG_STATE_HOME=state.name)
    events.clear()
    if paints:
        paints.clear()
    start = time.perf_counter()
    process = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                               env=environment)
    try:
        while True:
            event = events.next(0.05)
            if event is not None:
                mapped_at, window = event
                if title_of(window) == title:
                    # A window's first paint follows its map (Qt paints on the exposure).
                    painted_at = paints.first_after(mapped_at, 20) if paints else None
                    return Start(mapped_at - start, painted_at - start if painted_at else None)
            if process.poll() is not None:
                raise SystemExit(f"{program} exited with status {process.returncode}: {process.stderr.read()}")
            if time.perf_counter() - start > 20:
                raise SystemExit(f"no window of {program} mapped within 20 s")
    finally:
        process.terminate()
        process.wait()
        state.cleanup()


def milliseconds(seconds: "float | None") -> str:
    return "-" if seconds is None else f"{seconds * 1000:.0f} ms"


def median(times: "list[float | None]") -> "float | None":
    return None if None in times else statistics.median(times)


def main() -> None:
    runs, editor = int(sys.argv[1]), sys.argv[2]
    events = MapEvents()
    try:
        if len(sys.argv) < 4:
            starts = [one_start(events, None, editor, TITLE) for _ in range(runs)]
            print(f"start-up to window mapped over {runs} runs: editor median "
                  f"{milliseconds(median([s.mapped for s in starts]))}")
            return
        bare = sys.argv[3]
        bare_title = TITLE + " (bare)"
        paints = paint_events()
        one_start(events, paints, editor, TITLE)  # warm the file cache and the font cache
        one_start(events, paints, bare, bare_title)
        editor_starts, bare_starts = [], []
        for _ in range(runs):
            editor_starts.append(one_start(events, paints, editor, TITLE))
            bare_starts.append(one_start(events, paints, bare, bare_title))
            e, b = editor_starts[-1], bare_starts[-1]
            print(f"  mapped: editor {milliseconds(e.mapped)}, bare window {milliseconds(b.mapped)};"
                  f" first frame: editor {milliseconds(e.painted)}, bare window {milliseconds(b.painted)}")
        e, b = median([s.mapped for s in editor_starts]), median([s.mapped for s in bare_starts])
        print(f"start-up to window mapped over {runs} runs: editor median {milliseconds(e)}, bare window "
              f"{milliseconds(b)}: {e / b:.2f} times (target at most 1.5)")
        e, b = median([s.painted for s in editor_starts]), median([s.painted for s in bare_starts])
        if e is not None and b is not None:
            print(f"start-up to first frame painted over {runs} runs: editor median {milliseconds(e)}, "
                  f"bare window {milliseconds(b)}: {e / b:.2f} times")
    finally:
        events.close()


if __name__ == "__main__":
    main()
