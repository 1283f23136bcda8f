#!/usr/bin/env bash
# Fuzzes the picture loader with libFuzzer for FUZZ_SECONDS (default 300) in FUZZ_JOBS
# processes (default 2). Builds fuzz/ with clang in FUZZ_BUILD_DIR (default build-fuzz) and
# seeds the corpus from fuzz/corpus and the small pictures of a generated data set (the
# first build*/app found, or FUZZ_DATA_SET). Whatever the fuzzer finds is kept in
# $FUZZ_BUILD_DIR/run/findings and makes the exit status 1: copy each finding into
# tests/robustness/fuzz_regressions, where a test loads it, and guard against it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-300}
jobs=${FUZZ_JOBS:-2}

[ -f "$build/CMakeCache.txt" ] ||
  cmake -S fuzz -B "$build" -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
cmake --build "$build" --target picture_fuzzer -j8

run="$build/run"
mkdir -p "$run/corpus" "$run/findings"
cp -n fuzz/corpus/* "$run/corpus/"
for pictures in ${FUZZ_DATA_SET:+"$FUZZ_DATA_SET"} build*/app/PICTURE; do
  [ -d "$pictures" ] || continue
  find "$pictures" -maxdepth 1 -type f -size -4k -exec cp -n {} "$run/corpus/" \;
  break
done

before=$(find "$run/findings" -type f | wc -l)
(
  cd "$run"
  "$root/$build/picture_fuzzer" -fork="$jobs" -ignore_crashes=1 -ignore_ooms=1 \
    -ignore_timeouts=1 -max_total_time="$seconds" -timeout=10 -malloc_limit_mb=512 \
    -max_len=8192 -dict="$root/fuzz/picture.dict" -artifact_prefix=findings/ corpus
) 2>&1 | grep -E '^#[0-9]+: |INFO: fuzzed for|ERROR' | tail -5 || true
rm -f "$run"/fuzz-input-*

found=$(($(find "$run/findings" -type f | wc -l) - before))
echo "fuzzed the picture loader for ${seconds}s: $found new finding(s) in $run/findings"
[ "$found" -eq 0 ]
