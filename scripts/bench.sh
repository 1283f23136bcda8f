#!/usr/bin/env bash
# Builds the benchmarks and runs them headless; prints each benchmark's median.
# BUILD_DIR picks the build tree (default: build); further arguments go to the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target benchmarks -j"$(nproc)"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$build/bench/benchmarks" \
  --benchmark_repetitions=9 --benchmark_report_aggregates_only=true --benchmark_color=false "$@" |
  awk '$1 ~ /_median$/ { sub(/_median$/, "", $1); printf "%-60s %10s %s\n", $1, $2, $3 }'
