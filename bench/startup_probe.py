"""Starts the editor and a bare Qt window in turn on the current X display and times each
start until a top-level window with its title is mapped (polled with xwininfo); prints each
pair, the medians and the editor's median as a multiple of the bare window's. Without a bare
window's program it times the editor alone (the package check uses it to see the window mapped)."""
import os
import statistics
import subprocess
import sys
import tempfile
import time

TITLE = "Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1"


def window_shown(title: str) -> bool:
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    return any(f'"{title}"' in line for line in tree.splitlines())


def one_start(program: str, title: str) -> float:
    # A state folder of its own for each start: a work the previous start left when it was
    # ended puts no question in front of this one.
    state = tempfile.TemporaryDirectory()
    environment = dict(os.environ, XDG_STATE_HOME=state.name)
    start = time.perf_counter()
    process = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                               env=environment)
    try:
        while not window_shown(title):
            if process.poll() is not None:
                raise SystemExit(f"{program} exited with status {process.returncode}: {process.stderr.read()}")
            if time.perf_counter() - start > 20:
                raise SystemExit(f"no window of {program} within 20 s")
            time.sleep(0.002)
        return time.perf_counter() - start
    finally:
        process.terminate()
        process.wait()
        state.cleanup()


def main() -> None:
    runs, editor = int(sys.argv[1]), sys.argv[2]
    if len(sys.argv) < 4:
        times = [one_start(editor, TITLE) for _ in range(runs)]
        print(f"start-up to window shown over {runs} runs: editor median "
              f"{statistics.median(times) * 1000:.0f} ms")
        return
    bare = sys.argv[3]
    bare_title = TITLE + " (bare)"
    one_start(editor, TITLE)  # warm the file cache and the font cache
    one_start(bare, bare_title)
    editor_times, bare_times = [], []
    for _ in range(runs):
        editor_times.append(one_start(editor, TITLE))
        bare_times.append(one_start(bare, bare_title))
        print(f"  editor {editor_times[-1] * 1000:.0f} ms, bare window {bare_times[-1] * 1000:.0f} ms")
    e, b = statistics.median(editor_times), statistics.median(bare_times)
    print(f"start-up to window shown over {runs} runs: editor median {e * 1000:.0f} ms, bare window "
          f"{b * 1000:.0f} ms: {e / b:.2f} times (target at most 1.5)")


if __name__ == "__main__":
    main()
