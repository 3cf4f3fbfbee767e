#!/usr/bin/env bash
# Installs the Debian packages Tintwave needs to build, test and run; does nothing when
# they are all present already.
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  qt6-base-dev libxkbcommon-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  xvfb xauth xdotool xclip
  # The icon's PNGs are rendered from its SVG.
  librsvg2-bin
  # Checks of the install tree and the shell completions.
  desktop-file-utils
  appstream
  groff-base
  zsh
  fish
  # The Debian package and its checks.
  dpkg-dev
  file
  lintian
  man-db
  # The preview's tests of other scripts and emoji.
  fonts-noto-core
  fonts-noto-color-emoji
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
