#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine with what the program needs, builds the program and its
# data (no tests) in build-run/ and starts it from there.
set -euo pipefail
cd "$(dirname "$0")/.."
# The program opens a full-screen window: without a desktop that answers, it is said at once,
# not after minutes of installing and building.
if ! why=$(bash scripts/display-answers.sh 2>&1); then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "colouring-book needs a desktop to show its window on, and this session has none" \
      "(neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
  else
    echo "colouring-book needs a desktop to show its window on, and the one this session" \
      "names does not answer:" >&2
    echo "$why" | sed 's/^/  /' >&2
  fi
  echo "Run scripts/run.sh from a terminal opened on the desktop; nothing was installed" \
    "or built." >&2
  exit 1
fi
bash scripts/install-deps.sh program
cmake -S . -B build-run -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
cmake --build build-run -j"$(nproc)"
exec build-run/app/colouring-book
