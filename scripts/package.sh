#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds (Release) and packs Quorin as a Debian package:
# build/release/deb/quorin_<version>_amd64.deb, built with Debian's hardening flags
# (cmake/Hardening.cmake) and checked with lintian. Install it with
#   sudo apt install ./build/release/deb/quorin_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORIN_TESTS=OFF -DQUORIN_BENCH=OFF >/dev/null
cmake --build build/release --target quorin quorin-cli package_pieces
(cd build/release && cpack >/dev/null)
deb=$(ls build/release/deb/quorin_*_amd64.deb)
# Errors and warnings fail the build; every other tag, down to the pedantic ones, is shown.
status=0
report=$(lintian --pedantic --display-info --fail-on error,warning "$deb" 2>&1) || status=$?
grep -v "running with root privileges" <<<"$report" || true
[ "$status" = 0 ] || { echo "lintian reports errors or warnings in $deb" >&2; exit 1; }
echo "Built $deb ($(du -h "$deb" | cut -f1)). Install it with: sudo apt install ./$deb"
