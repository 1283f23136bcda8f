#!/usr/bin/env bash
# The long soaks: random use of the headless program for SOAK_SECONDS (default 3600), its
# resident memory at the end compared with that after warm-up, then the built program on a
# private X server for XVFB_SOAK_SECONDS (default 600).
# BUILD_DIR picks the build tree (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target robustness_soak_test robustness_xvfb_soak_test -j"$(nproc)"

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy JSIMD_FORCENONE=1
status=0
SOAK_SECONDS=${SOAK_SECONDS:-3600} "$build/tests/robustness/robustness_soak_test" \
  --gtest_output=xml:"$build/soak.xml" || status=1
grep -o 'resident_kb[a-z_]*" value="[0-9]*"' "$build/soak.xml" | tr -d '"' || true
XVFB_SOAK_SECONDS=${XVFB_SOAK_SECONDS:-600} "$build/tests/robustness/robustness_xvfb_soak_test" ||
  status=1
exit $status
