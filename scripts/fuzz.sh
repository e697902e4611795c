#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 300).
# Usage: scripts/fuzz.sh [SECONDS] [target...]
#   targets: bank_record mon_fields mon_lines byte_cut bank_window mon_window
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-300}"; shift || true
targets=("$@"); [ ${#targets[@]} -eq 0 ] && targets=(bank_record mon_fields mon_lines byte_cut bank_window mon_window)
bash scripts/install-deps.sh fuzz
CXX=clang++ bash scripts/build.sh build-fuzz -DZQ_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The window targets run Qt, whose fonts and caches stay allocated to the end.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
for t in "${targets[@]}"; do
  mkdir -p "fuzz-corpus/$t"
  len=4096; [ "$t" = bank_window ] && len=8192   # a bank's directory alone is 2048 bytes
  ./build-fuzz/fuzz/fuzz_"$t" -max_total_time="$seconds" -max_len="$len" -print_final_stats=1 "fuzz-corpus/$t"
done
