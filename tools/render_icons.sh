#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders data/desktop/quorin.svg to the PNG sizes desktops look up in the hicolor theme
# (data/desktop/icons/quorin-N.png); run it after changing the SVG and commit the renders.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../data/desktop"
mkdir -p icons
for size in 16 22 24 32 48 64 128 256 512; do
  rsvg-convert -w "$size" -h "$size" quorin.svg -o "icons/quorin-$size.png"
done
