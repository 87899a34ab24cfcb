#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Quorin builds and runs with; quiet when all are there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl1-mesa-dev libsqlite3-dev libjpeg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk qt6-translations-l10n xvfb xauth imagemagick
  dpkg-dev fakeroot file lintian desktop-file-utils appstream help2man librsvg2-bin poppler-utils
  locales libopencc-dev libopencc-data qt6-l10n-tools libhowardhinnant-date-dev tzdata libicu-dev
  emscripten node-acorn chromium
  libpq-dev postgresql postgresql-contrib qtkeychain-qt6-dev openssl
)
# node and npm come with emscripten's nodejs, unless the machine has its own (nodesource's has npm).
command -v npm >/dev/null 2>&1 || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >/tmp/quorin-apt.log 2>&1; then
  # The package lists may be stale on a fresh machine.
  $sudo apt-get update -q >>/tmp/quorin-apt.log 2>&1
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >>/tmp/quorin-apt.log 2>&1 ||
    { tail -n 30 /tmp/quorin-apt.log; exit 1; }
fi
