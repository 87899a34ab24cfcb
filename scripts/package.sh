#!/usr/bin/env bash
# Sets up, builds (Release) and packs Quorin as a Debian package:
# build/release/deb/quorin_<version>_amd64.deb, checked with lintian. Install it with
#   sudo apt install ./build/release/deb/quorin_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORIN_TESTS=OFF -DQUORIN_BENCH=OFF >/dev/null
cmake --build build/release --target quorin quorin-cli package_pieces
(cd build/release && cpack >/dev/null)
deb=$(ls build/release/deb/quorin_*_amd64.deb)
# Errors fail the build; warnings and notes are shown.
status=0
report=$(lintian --fail-on error "$deb" 2>&1) || status=$?
grep -v "running with root privileges" <<<"$report" || true
[ "$status" = 0 ] || { echo "lintian reports errors in $deb" >&2; exit 1; }
echo "Built $deb ($(du -h "$deb" | cut -f1)). Install it with: sudo apt install ./$deb"
