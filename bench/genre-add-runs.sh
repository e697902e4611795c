#!/usr/bin/env bash
# Adding one genre of 65,535 records, in many fresh processes one after the other: each
# process prints its median and worst add beside the read floor, and the last line gives the
# worst add of all against its process's floor (the target: at most 3 times). Run by hand,
# with a benchmark build, optionally while another program holds most of the memory:
#   bash bench/genre-add-runs.sh [RUNS] [BENCH_WINDOW]
# Each clear and the add after it are 100 ms apart, as a person clicks them;
# ZQ_CLICK_PAUSE_MS=0 runs them back to back.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-20}"
bench="${2:-build-bench/bench/bench_window}"
worst_ratio=0
for run in $(seq 1 "$runs"); do
  line=$(QT_QPA_PLATFORM=offscreen "$bench" genreAgainstFloorAndPeer 2>/dev/null | grep '^one genre')
  median=$(sed -E 's/.*median ([0-9.]+) ms.*/\1/' <<<"$line")
  worst=$(sed -E 's/.*\(worst ([0-9.]+),.*/\1/' <<<"$line")
  floor=$(sed -E 's/.*floor ([0-9.]+) ms.*/\1/' <<<"$line")
  ratio=$(awk -v w="$worst" -v f="$floor" 'BEGIN { printf "%.2f", w / f }')
  printf 'run %2d: median %6.1f ms, worst %6.1f ms, floor %5.1f ms: worst %s times the floor\n' \
    "$run" "$median" "$worst" "$floor" "$ratio"
  worst_ratio=$(awk -v a="$worst_ratio" -v b="$ratio" 'BEGIN { print (b > a) ? b : a }')
done
echo "worst add of $runs processes: $worst_ratio times its floor (target at most 3)"
