#!/usr/bin/env bash
# Installs the Debian packages the project needs, in two lists:
#   scripts/install-deps.sh program   what building and running the program needs
#   scripts/install-deps.sh           that and what the tests, benchmarks and packaging add
# Only what is missing is installed; sudo is used when not root.
set -euo pipefail

program_packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libsdl2-ttf-dev
  libgif-dev libjpeg-dev libcups2-dev
  timgm6mb-soundfont fonts-dejavu-core xdg-utils
)
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev clang-14 libclang-rt-14-dev
  xvfb openbox xdotool x11-xserver-utils x11-utils imagemagick
  cups cups-client printer-driver-cups-pdf poppler-utils
  dpkg-dev lintian appstream desktop-file-utils libx11-dev
)

packages=("${program_packages[@]}")
case "${1:-all}" in
  program) ;;
  all) packages+=("${test_packages[@]}") ;;
  *)
    echo "usage: $0 [program]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
