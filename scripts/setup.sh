#!/usr/bin/env bash
# Installs what the console needs to build, run and test on Debian 12.
# Only missing packages are fetched; safe to run again and again.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config make
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools libgl-dev
  libjpeg62-turbo-dev libpng-dev libtiff-dev zlib1g-dev libgif-dev libwebp-dev
  libx11-dev libxcb1-dev libxcb-keysyms1-dev libgtest-dev
  # run
  qt6-qpa-plugins fonts-crosextra-carlito fonts-liberation2 fonts-wqy-microhei
  fontconfig man-db
  # test, fuzz, bench
  xvfb xauth xdotool clang libclang-rt-14-dev
  libjpeg-turbo-progs webp imagemagick libvips-tools time python3
  # desktop integration: D-Bus test sessions, icon rendering, package checks
  # (lintian: what Debian checks a package for)
  dbus-daemon librsvg2-bin desktop-file-utils appstream dpkg-dev lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
