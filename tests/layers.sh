#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: layers.sh SOURCE_DIR — fails when a folder of src/ includes from a folder at its own
# level or above, when a plain C++ (model) folder includes a Qt header or a header of a Qt folder,
# when an include climbs out of its folder ("../") or names no folder, or when the command-line
# tool includes the window library. Every spelling of an include counts (indented, "# include").
#        layers.sh --self-test — checks that each of those is caught.
set -u

# Lower levels first; a folder may include only its own files and those of lower levels.
levels=("base" "calendar draw" "iching qtdraw skin" "chart" "cases sheet" "ui")
plain=" base calendar draw iching chart cases "
include='[[:space:]]*#[[:space:]]*include[[:space:]]*'

check() {
  local root=$1 status=0 folder dir file line target
  local src=$root/src
  declare -A level
  for i in "${!levels[@]}"; do
    for folder in ${levels[$i]}; do level[$folder]=$i; done
  done
  for dir in "$src"/*/; do
    folder=$(basename "$dir")
    if [ -z "${level[$folder]+set}" ]; then
      echo "src/$folder has no level in tests/layers.sh"; status=1; continue
    fi
    while IFS=: read -r file line target; do
      if [[ "$target" == *../* ]]; then
        echo "${file#"$root"/}:$line: an include climbs out of its folder: \"$target\""; status=1; continue
      fi
      [[ "$target" == *.moc ]] && continue  # Qt's generated meta-object code of the file itself
      if [[ "$target" != */* ]]; then
        echo "${file#"$root"/}:$line: an include names no folder: \"$target\""; status=1; continue
      fi
      target=${target%%/*}
      if [ -z "${level[$target]+set}" ]; then
        echo "${file#"$root"/}:$line includes from unknown folder $target"; status=1
      elif [ "$target" != "$folder" ] && [ "${level[$target]}" -ge "${level[$folder]}" ]; then
        echo "${file#"$root"/}:$line: $folder includes from $target, which is not below it"; status=1
      elif [[ "$plain" == *" $folder "* && "$plain" != *" $target "* ]]; then
        echo "${file#"$root"/}:$line: the model folder $folder includes from the Qt folder $target"; status=1
      fi
    done < <(grep -rnE "^$include\"" "$dir" | sed -E "s/^([^:]*):([0-9]+):$include\"([^\"]*)\".*/\1:\2:\3/")
    if [[ "$plain" == *" $folder "* ]]; then
      if grep -rnE "^$include<[Qq]" "$dir"; then echo "src/$folder is plain C++ but includes Qt"; status=1; fi
    fi
  done
  # The command-line tool draws pictures without the window library.
  if grep -rnE "^$include\"(ui|skin)/" "$root/app/cli"; then
    echo "quorin-cli includes the window library"; status=1
  fi
  return $status
}

# Each kind of breach, planted in a small tree, must be reported.
self_test() {
  local tree failures=0 breach
  tree=$(mktemp -d)
  trap 'rm -rf "$tree"' RETURN
  local -a breaches=(
    'src/chart/a.cpp:#include "cases/record_base.h"'
    'src/chart/a.cpp:  #include "ui/frm_main.h"'
    'src/chart/a.cpp:# include "sheet/date_sheet.h"'
    'src/chart/a.cpp:#include "qtdraw/fonts.h"'
    'src/chart/a.cpp:#include "../ui/frm_main.h"'
    'src/chart/a.cpp:#include "local.h"'
    'src/calendar/a.cpp:  #include <QString>'
    'src/unknown/a.cpp:#include "base/files.h"'
    'app/cli/a.cpp:#include "ui/frm_main.h"'
  )
  for breach in "${breaches[@]}"; do
    rm -rf "${tree:?}"/*
    mkdir -p "$tree/src/base" "$tree/app/cli"
    mkdir -p "$tree/$(dirname "${breach%%:*}")"
    printf '%s\n' "${breach#*:}" >"$tree/${breach%%:*}"
    if check "$tree" >/dev/null; then echo "not caught: $breach"; failures=1; fi
  done
  rm -rf "${tree:?}"/*
  mkdir -p "$tree/src/chart" "$tree/app/cli"
  printf '#include "calendar/julian_day.h"\n#include <vector>\n' >"$tree/src/chart/a.cpp"
  check "$tree" || { echo "a sound include was refused"; failures=1; }
  return $failures
}

if [ "${1:-}" = --self-test ]; then
  self_test
else
  check "${1:?usage: layers.sh SOURCE_DIR | --self-test}"
fi
