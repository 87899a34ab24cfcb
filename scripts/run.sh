#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds (Release) and starts Quorin in its program folder build/release/bin,
# beside dat/, skins/ and Orlune_f/. The case database is created on first start.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORIN_TESTS=OFF -DQUORIN_BENCH=OFF >/dev/null
cmake --build build/release --target quorin quorin-cli program_folder

program=build/release/bin/quorin
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting Quorin on a virtual X server (xvfb-run)." >&2
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$program" "$@"
fi
exec "$program" "$@"
