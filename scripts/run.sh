#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the program and starts it from the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
exec build/app/colouring-book
