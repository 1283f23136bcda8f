#!/usr/bin/env bash
# Installs the Debian packages the project needs, in three lists:
#   scripts/install-deps.sh program   what building and running the program needs
#   scripts/install-deps.sh package   that and what making and checking its Debian package
#                                     needs (cpack -G DEB, dpkg-shlibdeps, lintian)
#   scripts/install-deps.sh           all of that and what the tests and benchmarks add
# Only what is missing is installed; sudo is used when not root, and without sudo it says
# what to run as root.
set -euo pipefail

program_packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libsdl2-ttf-dev
  libgif-dev libjpeg-dev libcups2-dev libwayland-dev libxrandr-dev
  timgm6mb-soundfont fonts-dejavu-core xdg-utils
)
# CPack's Debian generator asks `file` which files are binaries before it runs
# dpkg-shlibdeps on them; nothing else on this list brings `file` along.
package_packages=(file dpkg-dev lintian)
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev clang-14 libclang-rt-14-dev
  xvfb openbox xdotool x11-xserver-utils x11-utils imagemagick
  cups cups-client poppler-utils
  appstream desktop-file-utils libx11-dev
  mount util-linux
  mutter xwayland dbus weston
  xserver-xorg-core xserver-xorg-video-dummy
)

packages=("${program_packages[@]}")
case "${1:-all}" in
  program) ;;
  package) packages+=("${package_packages[@]}") ;;
  all) packages+=("${package_packages[@]}" "${test_packages[@]}") ;;
  *)
    echo "usage: $0 [program|package]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  # A Debian installed with a root password has no sudo: say what to run instead.
  if ! command -v sudo >/dev/null; then
    echo "$0: ${#missing[@]} Debian package(s) are missing, and installing them needs root;" \
      "this system has no sudo. Run this once as root, then the command again as yourself:" >&2
    echo "  su -c '$0${1:+ $1}'" >&2
    exit 1
  fi
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
