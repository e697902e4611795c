#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 300).
# Usage: scripts/fuzz.sh [SECONDS] [target...]
#   targets: bank_record mon_fields mon_lines byte_cut bank_window mon_window window_actions
# A target with seeds in fuzz/seeds/<target> starts from them as well as from its corpus
# in fuzz-corpus/<target> (not committed). A finding stops the run with a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-300}"; shift || true
targets=("$@"); [ ${#targets[@]} -eq 0 ] && targets=(bank_record mon_fields mon_lines byte_cut bank_window mon_window window_actions)
bash scripts/install-deps.sh fuzz
build_targets=()
for t in "${targets[@]}"; do build_targets+=(--target "fuzz_$t"); done
if [ ! -f build-fuzz/build.ninja ]; then
  CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZQ_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo > build-fuzz.configure.log 2>&1 \
    || { cat build-fuzz.configure.log; exit 1; }
fi
cmake --build build-fuzz -j "$(nproc)" "${build_targets[@]}"
# The window targets run Qt, whose fonts and caches stay allocated to the end.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
for t in "${targets[@]}"; do
  mkdir -p "fuzz-corpus/$t"
  corpora=("fuzz-corpus/$t"); [ -d "fuzz/seeds/$t" ] && corpora+=("fuzz/seeds/$t")
  len=4096
  case "$t" in
    bank_window) len=8192 ;;      # a bank's directory alone is 2048 bytes
    window_actions) len=200 ;;    # scripts of up to about 90 actions
  esac
  ./build-fuzz/fuzz/fuzz_"$t" -max_total_time="$seconds" -max_len="$len" -timeout=60 -print_final_stats=1 \
    -artifact_prefix="fuzz-corpus/$t-" "${corpora[@]}"
done
