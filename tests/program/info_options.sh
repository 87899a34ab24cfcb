#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# quorin --version and --help print and exit 0 without a display and without touching any
# data folder: the program runs installed (no dat/ beside it) with a fresh home.
# Usage: info_options.sh QUORIN SOURCE_DIR
set -u
quorin=$1
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

version="$(sed -n 's/^project(Quorin VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")"
mkdir -p "$work/bin" "$work/home"
cp "$quorin" "$work/bin/quorin"
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" XDG_DATA_HOME="$work/xdg" \
    timeout 60 "$work/bin/quorin" "$@" >"$work/out" 2>"$work/err"
}

run --version
code=$?
[ "$code" -eq 0 ] || fail "--version: exit $code: $(head -3 "$work/err")"
[ "$(cat "$work/out")" = "Quorin $version" ] || fail "--version printed '$(cat "$work/out")'"
run --help
code=$?
[ "$code" -eq 0 ] || fail "--help: exit $code: $(head -3 "$work/err")"
grep -q "^Usage: quorin " "$work/out" || fail "--help printed no usage: $(head -3 "$work/out")"
grep -q -- "--version" "$work/out" || fail "--help does not name --version"
[ -s "$work/err" ] && fail "--help wrote to stderr: $(head -3 "$work/err")"
[ -e "$work/xdg" ] && fail "a data folder was created"
[ -n "$(ls -A "$work/home")" ] && fail "the home folder was written"

if [ "$failures" -ne 0 ]; then
  echo "quorin --help/--version: $failures check(s) failed" >&2
  exit 1
fi
echo "quorin --help/--version: all checks passed"
