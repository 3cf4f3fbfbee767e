#!/usr/bin/env bash
# Installs the Debian packages Tintwave needs to build, test and run; does nothing when
# they are all present already.
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  qt6-base-dev libxkbcommon-dev
  xvfb xauth xdotool
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
