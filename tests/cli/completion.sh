#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The bash completion of quorin-cli (data/completion/quorin-cli), sourced and called as bash
# calls it. Its lists are held against the tool itself, so they cannot drift: the command names
# against --help, each command's options against its usage text, flags and values against the
# tool's parser, the mountain names and the listed values against what the tool reads.
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
export LC_ALL=C.UTF-8
source "$src/data/completion/quorin-cli"
[ "$(complete -p quorin-cli)" = "complete -F _quorin_cli quorin-cli" ] || fail "no completion registered for quorin-cli"

# offered WORD...: what TAB offers for the last word, in its order, on one line.
offered() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMP_LINE="$*"
  COMP_POINT=${#COMP_LINE}
  _quorin_cli
  echo "${COMPREPLY[*]}"
}
# sorted: the words of stdin, sorted and unique, on one line.
sorted() { tr ' ,' '\n\n' | grep -v '^$' | sort -u | xargs; }
options_in() { grep -o -- '--[a-z][a-z-]*' | sorted; }
# same NAME ACTUAL EXPECTED
same() { [ "$2" = "$3" ] || fail "$1: completion offers '$2', expected '$3'"; }

commands=$("$cli" --help | sed -n '/^Commands:/,/^$/p' | awk 'NR > 1 && NF {print $1}' | sorted)
same commands "$(offered quorin-cli '' | sorted)" "$(echo "$commands help" | sorted)"
same help "$(offered quorin-cli help '' | sorted)" "$commands"
same gnu-options "$(offered quorin-cli --)" "--help --version --script"
same scripts "$(offered quorin-cli --script '')" "zh-Hans zh-Hant-TW zh-Hant-HK"
same "after --script" "$(offered quorin-cli --script zh-Hant-HK ch)" "chart"
same "--script after the command" "$(offered quorin-cli era --script zh-Hant-)" "zh-Hant-TW zh-Hant-HK"
same chart-prefix "$(offered quorin-cli ch)" "chart"

# Each command's options are those its usage text names.
for command in $commands; do
  [ "$command" = cases ] || [ "$command" = library ] && continue
  same "$command options" "$(offered quorin-cli "$command" -- | sorted)" "$( (echo --script; "$cli" help "$command") | options_in)"
done
# The commands with subcommands: the options on the usage's first line, then each subcommand's own.
for command in cases library; do
  usage=$("$cli" help $command)
  global=$(head -1 <<<"$usage" | options_in)
  subcommands=$(awk '/^  [a-z]/ {print $1}' <<<"$usage" | sorted)
  same "$command subcommands" "$(offered quorin-cli $command '' | sorted)" "$subcommands"
  for sub in $subcommands; do
    own=$(awk -v name="$sub" '/^  [a-z]/ {inside = ($1 == name)} /^[^ ]/ {inside = 0} inside' <<<"$usage" | options_in)
    same "$command $sub options" "$(offered quorin-cli $command "$sub" -- | sorted)" "$(echo "$global $own --script" | sorted)"
  done
done
same "cases --db FILE list" "$(offered quorin-cli cases --db x.db list -- | sorted)" \
  "$(offered quorin-cli cases list -- | sorted)"

# Flags and values as the parser takes them: a flag refuses "=x", a value option wants a value.
# The case commands get a database of their own, so nothing touches the build's cases.
for key in "${!_quorin_cli_flags[@]}" "${!_quorin_cli_values[@]}"; do
  words=("$key")
  [[ $key == "cases "* ]] && words=(cases --db "$work/cases/Orlune.db" --program-dir "$work/cases" "${key#cases }")
  [[ $key == "library "* ]] && words=(library "${key#library }")
  for option in ${_quorin_cli_flags[$key]-}; do
    "$cli" "${words[@]}" "$option=x" >/dev/null 2>"$work/err"
    grep -qF "未知选项：$option=x" "$work/err" || fail "$key $option is no flag: $(cat "$work/err")"
    "$cli" "${words[@]}" "$option" >/dev/null 2>"$work/err"
    grep -qE "未知选项|缺少取值" "$work/err" && fail "$key $option is no flag: $(cat "$work/err")"
  done
  for option in ${_quorin_cli_values[$key]-}; do
    "$cli" "${words[@]}" "$option" >/dev/null 2>"$work/err"
    grep -qF "选项 $option 缺少取值" "$work/err" || fail "$key $option takes no value: $(cat "$work/err")"
  done
done

# The mountain names in the tool's order: by name and by index the same chart.
for command in chart search; do
  same "$command --mountain" "$(offered quorin-cli "$command" --mountain '')" "$_quorin_cli_mountains"
done
index=0
for name in $_quorin_cli_mountains; do
  by_name=$("$cli" chart "2024-03-15 10:30" --mountain "$name" 2>&1)
  by_index=$("$cli" chart "2024-03-15 10:30" --mountain "$index" 2>&1)
  [ "$by_name" = "$by_index" ] || fail "mountain $name is not index $index"
  index=$((index + 1))
done
[ "$index" -eq 24 ] || fail "$index mountain names"
same "cases add --mountain" "$(offered quorin-cli cases add --mountain '')" "$(echo {0..23})"
same "--dragon 子" "$(offered quorin-cli chart x --dragon 子)" "子:"
# bash makes the colon a word of its own: "子:" is 子 and :, "子:1" is 子, : and 1.
same "--water 子:" "$(offered quorin-cli search --water 子 :)" "0 1 2 3"
same "--water 子:1" "$(offered quorin-cli search --water 子 : 1)" "1"

# The values of the list options and patterns as the search's usage text lists them.
search_usage=$("$cli" help search)
for option in --qi --yun --include --avoid --pattern; do
  same "search $option" "$(offered quorin-cli search "$option" '' | sorted)" \
    "$(sed -n "s/^  $option [^:]*: //p" <<<"$search_usage" | sorted)"
done
same "--qi 合五,合十" "$(offered quorin-cli search --qi 合五,合十)" "合五,合十 合五,合十五"

# File and folder names.
files="$work/files"
mkdir -p "$files/folder"
: >"$files/a.png"
same "--png" "$(offered quorin-cli chart x --png "$files/a")" "$files/a.png"
same "backup DIR" "$(offered quorin-cli cases backup "$files/")" "$files/folder"

finish "completion"
