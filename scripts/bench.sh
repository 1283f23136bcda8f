#!/usr/bin/env bash
# The benchmark command: builds the benchmarks, runs them headless and prints each one's
# median on this machine, and measures the real program from outside on a private X display
# (CPU per pointer move, palette click and gallery step, idle CPU, hover latency after a burst
# of moves); then fuzzes the picture loader, the music file's reading and the sound check for
# 20 minutes each (FUZZ_SECONDS) and runs the hour-long soak, whose resident memory at the end
# it compares with that after start-up.
#   scripts/bench.sh [--quick] [benchmark arguments...]
# --quick prints the medians only. BUILD_DIR picks the build tree (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
if [ "${1:-}" = "--quick" ]; then
  quick=1
  shift
fi
build=${BUILD_DIR:-build}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target benchmarks program_on_screen -j"$(nproc)"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$build/bench/benchmarks" \
  --benchmark_repetitions=9 --benchmark_report_aggregates_only=true --benchmark_color=false "$@" |
  awk '$1 ~ /_median$/ { sub(/_median$/, "", $1); printf "%-60s %10s %s\n", $1, $2, $3 }'
on_screen=()
[ "$quick" = 1 ] && on_screen=(--quick)
"$build/bench/program_on_screen" "${on_screen[@]}"

[ "$quick" = 1 ] && exit 0
status=0
FUZZ_SECONDS=${FUZZ_SECONDS:-1200} bash scripts/fuzz.sh || status=1
BUILD_DIR="$build" bash scripts/soak.sh || status=1
exit $status
