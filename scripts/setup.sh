#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Korvale need.
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl1-mesa-dev
  libzip-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format clang-tidy
  fonts-liberation
  # The icon theme the tool bar takes its standard icons from, so they look the same on
  # every machine that runs the tests.
  adwaita-icon-theme
  xvfb xauth xdotool x11-utils
  dpkg-dev appstream desktop-file-utils
  # The manual pages are made from the programs' --help; lintian checks the package.
  help2man lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
