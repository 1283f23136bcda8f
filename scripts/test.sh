#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs every test.
# BUILD_DIR picks the build tree (default: build); CMAKE_ARGS adds configure options.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${BUILD_DIR:-build}
# shellcheck disable=SC2086
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON ${CMAKE_ARGS:-}
cmake --build "$build" -j"$(nproc)"
# Tests that drive real X servers run a few at a time, so that their waits for the screen
# are not starved by the rest.
on_screen=xserver
status=0
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" -LE "$on_screen" || status=1
ctest --test-dir "$build" --output-on-failure -j3 -L "$on_screen" || status=1
# The benchmarks once, quickly (their long runs belong to scripts/bench.sh alone).
if [ "${RUN_BENCHMARKS:-1}" = 1 ]; then
  BUILD_DIR="$build" bash scripts/bench.sh --quick || status=1
fi
exit $status
