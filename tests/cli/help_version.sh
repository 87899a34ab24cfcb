#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# quorin-cli --help, --version and version: they print and exit 0, GNU fashion, and touch no
# data folder, even when the tool runs installed with a fresh home.
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

version_line="Quorin $(sed -n 's/^project(Quorin VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")"
expect version "$version_line" version
expect dash-version "$version_line" --version
"$cli" --help >"$work/help" 2>"$work/help_err" || fail "--help: exit $?"
grep -q -- "^  or:  quorin-cli .*--version" "$work/help" || fail "--help does not name --version"
[ -s "$work/help_err" ] && fail "--help wrote to stderr"

# Installed mode: a copy of the tool with no dat/ beside it, a home and data home of its own.
mkdir -p "$work/installed/bin" "$work/home"
cp "$cli" "$work/installed/bin/quorin-cli"
installed=(env HOME="$work/home" XDG_DATA_HOME="$work/xdg" "$work/installed/bin/quorin-cli")
for words in "version" "--version" "--help" "help chart" "chart --help"; do
  # shellcheck disable=SC2086
  "${installed[@]}" $words >/dev/null 2>&1 || fail "installed '$words': exit $?"
  [ -e "$work/xdg" ] && { fail "installed '$words' created $(cd "$work" && find xdg | head -3 | tr '\n' ' ')"; rm -rf "$work/xdg"; }
  [ -n "$(ls -A "$work/home")" ] && fail "installed '$words' wrote into the home folder"
done
[ "$(ls -A "$work/installed/bin")" = quorin-cli ] || fail "the installed folder changed"

finish "help and version CLI"
