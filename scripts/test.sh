#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and runs every test: first the Release build (model, command line,
# windows), then the web edition (scripts/web.sh test), then every test again under
# AddressSanitizer and UndefinedBehaviorSanitizer (windows offscreen). Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
jobs=$(nproc)

echo "== Release build and tests"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORIN_TESTS=ON -DQUORIN_BENCH=ON >/dev/null
cmake --build build/release
(cd build/release && ctest --output-on-failure -j "$jobs" --timeout 600)

echo "== Web edition: the engine against quorin-cli under node, the page in headless chromium"
QUORIN_TOOLS_BUILD=build/release scripts/web.sh test

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build and tests"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-O1" \
  -DQUORIN_SANITIZE=ON -DQUORIN_GUI=ON -DQUORIN_BENCH=OFF -DQUORIN_TESTS=ON >/dev/null
cmake --build build/sanitize
(cd build/sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS="suppressions=$PWD/../../tests/sanitizer/lsan.supp:print_suppressions=0" \
  ctest --output-on-failure -j "$jobs" --timeout 1200)
echo "All tests passed."
