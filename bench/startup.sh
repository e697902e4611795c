#!/usr/bin/env bash
# Start-up time of the editor, from process start to its window mapped on a real X server
# (Xvfb), over several runs; prints each run and the median. Run by hand:
#   bash bench/startup.sh [RUNS] [EDITOR]
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-11}"
editor="${2:-build/src/app/zelqua-editor}"
bash scripts/install-deps.sh bench
[ -x "$editor" ] || bash scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
exec xvfb-run -a -s "-screen 0 1280x1024x24" python3 bench/startup_probe.py "$runs" "$editor"
