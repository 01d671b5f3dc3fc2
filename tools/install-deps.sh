#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need (only what is missing).
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev
  zlib1g-dev libminizip-dev portaudio19-dev libsndfile1-dev unzip
  fonts-dejavu-core poppler-utils
  libxcb1-dev
  xvfb xauth openbox x11-utils x11-apps xdotool imagemagick libxtst-dev
  ccache
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
