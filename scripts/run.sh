#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine with what the program needs, builds the program and its
# data (no tests) in build-run/ and starts it from there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh program
cmake -S . -B build-run -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
cmake --build build-run -j"$(nproc)"
exec build-run/app/colouring-book
