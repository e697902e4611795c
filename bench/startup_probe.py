"""Starts the editor repeatedly on the current X display and times each start until a
top-level window with the editor's title is mapped (polled with xwininfo)."""
import statistics
import subprocess
import sys
import time

TITLE = "Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1"


def window_shown() -> bool:
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    return any(TITLE in line and "(has no name)" not in line for line in tree.splitlines())


def one_start(editor: str) -> float:
    start = time.perf_counter()
    process = subprocess.Popen([editor], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while not window_shown():
            if process.poll() is not None:
                raise SystemExit(f"editor exited with status {process.returncode}")
            if time.perf_counter() - start > 20:
                raise SystemExit("no window within 20 s")
            time.sleep(0.002)
        return time.perf_counter() - start
    finally:
        process.terminate()
        process.wait()


def main() -> None:
    runs, editor = int(sys.argv[1]), sys.argv[2]
    one_start(editor)  # warm the file cache and the font cache
    times = [one_start(editor) for _ in range(runs)]
    for t in times:
        print(f"  {t * 1000:.0f} ms")
    print(f"start-up to window shown: median {statistics.median(times) * 1000:.0f} ms over {runs} runs")


if __name__ == "__main__":
    main()
