#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, or says how to.
set -euo pipefail

PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev
          libgtest-dev libbenchmark-dev
          freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri libx11-dev libxdamage-dev
          libfreetype-dev fonts-dejavu-core fonts-dejavu-extra libpng-dev
          libsdl2-dev libenet-dev pkg-config dpkg-dev debhelper lintian appstream
          xvfb xauth xdotool x11-utils imagemagick groff-base desktop-file-utils git
          clang-format-14)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
