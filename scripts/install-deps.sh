#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# Installs the Debian packages the build, the program and its tests need.
# Idempotent: asks dpkg first and only calls apt-get when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins qt6-svg-dev libgl-dev
  libgtest-dev libgmock-dev
  libreoffice-impress libreoffice-dev libreoffice-dev-common
  fonts-liberation
  xvfb xauth x11-apps x11-utils imagemagick
  clang-format reuse
  desktop-file-utils appstream man-db file dpkg-dev lintian
  slurmctld slurmd slurm-client munge jq
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO=sudo
  else
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run this script as root to install them." >&2
    exit 1
  fi
else
  SUDO=
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
