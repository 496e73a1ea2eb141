#!/usr/bin/env bash
# Installs every Debian package that building, testing, benchmarking and running Dorvanel needs.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6 libxcb1-dev
  zlib1g-dev libjpeg62-turbo-dev
  libgtest-dev libgmock-dev
  fonts-liberation
  xvfb xauth x11-utils x11-apps openbox xdotool
  dbus-daemon at-spi2-core python3-pyatspi
  qt6-wayland weston
  clang libclang-rt-14-dev
  imagemagick libgif-dev
  libcpp-httplib-dev
  libpsl-dev libssl-dev openssl
  nlohmann-json3-dev libxlsxwriter-dev python3-openpyxl xclip
  nginx-light curl tinyproxy
  python3
  xdg-utils desktop-file-utils appstream lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
