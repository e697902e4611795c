#!/usr/bin/env bash
# Start-up time of the editor against a bare Qt Widgets window of the same title and size,
# from process start to the window mapped on a real X server (Xvfb), and to its first frame
# painted, the two started in turn; prints each pair, the medians and their ratios (the
# target: at most 1.5 for the window mapped). Run by hand:
#   bash bench/startup.sh [RUNS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-11}"
dir="${2:-build-bench}"
bash scripts/install-deps.sh bench
[ -x "$dir/bench/bench_bare_window" ] && [ -x "$dir/src/app/zelqua-editor" ] \
  || bash scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=Release -DZQ_BENCH=ON
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
  python3 bench/startup_probe.py "$runs" "$dir/src/app/zelqua-editor" "$dir/bench/bench_bare_window"
