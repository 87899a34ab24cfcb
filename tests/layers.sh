#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: layers.sh SOURCE_DIR — fails when a folder of src/ includes from a folder at
# its own level or above, or when a plain C++ folder includes a Qt header.
set -u
src=$1/src
# Lower levels first; a folder may include only its own files and those of lower levels.
levels=("base" "calendar draw" "iching qtdraw skin" "chart" "cases sheet" "ui")
plain=" base calendar draw iching chart cases "
declare -A level
for i in "${!levels[@]}"; do
  for folder in ${levels[$i]}; do level[$folder]=$i; done
done

status=0
for dir in "$src"/*/; do
  folder=$(basename "$dir")
  if [ -z "${level[$folder]+set}" ]; then
    echo "src/$folder has no level in tests/layers.sh"; status=1; continue
  fi
  while IFS=: read -r file line target; do
    if [ -z "${level[$target]+set}" ]; then
      echo "${file#"$1"/}:$line includes from unknown folder $target"; status=1
    elif [ "$target" != "$folder" ] && [ "${level[$target]}" -ge "${level[$folder]}" ]; then
      echo "${file#"$1"/}:$line: $folder includes from $target, which is not below it"; status=1
    fi
  done < <(grep -rnoE '^#include "[a-z_]+/' "$dir" | sed -E 's/#include "([a-z_]+)\//\1/')
  if [[ "$plain" == *" $folder "* ]]; then
    if grep -rnE '^#include <Q' "$dir"; then echo "src/$folder is plain C++ but includes Qt"; status=1; fi
  fi
done
# The command-line tool draws pictures without the window library.
if grep -rnE '^#include "(ui|skin)/' "$1/app/cli"; then echo "quorin-cli includes the window library"; status=1; fi
exit $status
