#!/usr/bin/env bash
# Mutation check, run by hand (it takes about an hour on two cores): puts small faults into
# the formats, codec, text, editor, grid and saving code one at a time, rebuilds only the
# tests that cover each, runs them, and prints how many faults the tests caught and which
# survived. The same faults are chosen every run (a fixed seed) while the sources stay the same.
#   bash scripts/mutate.sh [--count N] [--seed S] [--only src/formats] [--list]
# Its own build folder, build-mutate (unoptimised, so each fault rebuilds quickly; asserts on).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
bash scripts/build.sh build-mutate -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 "${launcher[@]}"
export QT_QPA_PLATFORM=offscreen
# The tests must pass before any fault is put in, or every fault would count as caught.
ctest --test-dir build-mutate -j "$(nproc)" -E '^layout\.' --output-on-failure > build-mutate.baseline.log \
  || { tail -30 build-mutate.baseline.log; echo "the tests fail without any fault"; exit 1; }
python3 scripts/mutate.py build-mutate "$@"
