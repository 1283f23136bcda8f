#!/usr/bin/env bash
# Fuzzes the picture loader, the music file's reading and the sound check with the mixer's
# conversion behind it with libFuzzer, each for FUZZ_SECONDS (default 300) in FUZZ_JOBS
# processes (default 2). Builds fuzz/ with clang in FUZZ_BUILD_DIR (default build-fuzz) and
# seeds each corpus from fuzz/corpus (pictures), fuzz/midi_corpus or fuzz/sound_corpus and the
# files of a generated data set (the first build*/app found, or FUZZ_DATA_SET). FUZZERS picks
# some of them (default: "picture midi sound"). Whatever a fuzzer finds is kept in
# $FUZZ_BUILD_DIR/run-<fuzzer>/findings and makes the exit status 1: copy each finding into
# tests/robustness/fuzz_regressions (pictures), tests/robustness/fuzz_regressions/midi (music)
# or tests/robustness/fuzz_regressions/sound (sounds), where a test loads it, and guard
# against it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-300}
jobs=${FUZZ_JOBS:-2}
fuzzers=${FUZZERS:-picture midi sound}

[ -f "$build/CMakeCache.txt" ] ||
  cmake -S fuzz -B "$build" -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
for fuzzer in $fuzzers; do
  cmake --build "$build" --target "${fuzzer}_fuzzer" -j4
done

data_set=""
for app in ${FUZZ_DATA_SET:+"$FUZZ_DATA_SET"} build*/app; do
  [ -d "$app/PICTURE" ] && data_set=$app && break
done

status=0
for fuzzer in $fuzzers; do
  run="$build/run-$fuzzer"
  mkdir -p "$run/corpus" "$run/findings"
  options=()
  case $fuzzer in
    picture)
      cp -n fuzz/corpus/* "$run/corpus/"
      [ -n "$data_set" ] && find "$data_set/PICTURE" -maxdepth 1 -type f -size -4k \
        -exec cp -n {} "$run/corpus/" \;
      # Long enough for a picture's scans to be repeated into the thousands.
      options=(-max_len=65536 -dict="$root/fuzz/picture.dict")
      ;;
    midi)
      cp -n fuzz/midi_corpus/* "$run/corpus/"
      [ -n "$data_set" ] && cp -n "$data_set"/MUSIC/* "$run/corpus/"
      options=(-max_len=16384)
      ;;
    sound)
      cp -n fuzz/sound_corpus/* "$run/corpus/"
      [ -n "$data_set" ] && cp -n "$data_set"/SOUND/* "$run/corpus/"
      # Room for the data set's sounds (about 40 KB); every refused sound says why on stderr,
      # which would drown what the fuzzer says.
      options=(-max_len=65536 -close_fd_mask=2)
      ;;
  esac
  before=$(find "$run/findings" -type f | wc -l)
  (
    cd "$run"
    "$root/$build/${fuzzer}_fuzzer" -fork="$jobs" -ignore_crashes=1 -ignore_ooms=1 \
      -ignore_timeouts=1 -max_total_time="$seconds" -timeout=10 -malloc_limit_mb=512 \
      "${options[@]}" -artifact_prefix=findings/ corpus
  ) 2>&1 | grep -E '^#[0-9]+: |INFO: fuzzed for|ERROR' | tail -5 || true
  rm -f "$run"/fuzz-input-*
  found=$(($(find "$run/findings" -type f | wc -l) - before))
  echo "fuzzed ${fuzzer} for ${seconds}s: $found new finding(s) in $run/findings"
  [ "$found" -eq 0 ] || status=1
done
exit $status
