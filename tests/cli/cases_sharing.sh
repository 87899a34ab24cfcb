#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Several programs on one case library at once, as when the window and quorin-cli (or two windows)
# share a data folder: two programs keep adding cases of the same name and moment while a third
# compacts, imports and backs up, over and over. No case a program reported as saved may be missing,
# and every case must keep a remark file of its own with its own text.
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
run=("$cli" cases --program-dir "$work/prog")
rounds=40

expect seed "1" add --name 种子 --date "2020-01-01 00:00" --text 种子
expect export "1 个案例文件已经保存到：$work/one.db" export "$work/one.db"

# Each adder writes the texts of the cases it was told were saved. It keeps adding until the
# whole-library operations are through, so the two always overlap however fast the machine.
adder() {
  local who=$1 i=0
  while ((++i <= rounds)) || [[ ! -e "$work/whole.done" ]]; do
    if "${run[@]}" add --name 张三 --date "2024-03-05 08:07" --text "$who$i" >/dev/null 2>>"$work/$who.err"; then
      echo "$who$i" >>"$work/$who.saved"
    fi
  done
}
adder 甲 &
first=$!
adder 乙 &
second=$!
for ((whole = 0; whole < 9; whole++)); do
  case $((whole % 3)) in
    0) "${run[@]}" compact --force >/dev/null 2>>"$work/whole.err" ;;
    1) "${run[@]}" import "$work/one.db" >/dev/null 2>>"$work/whole.err" ;;
    2) "${run[@]}" backup "$work/backups" >/dev/null 2>>"$work/whole.err" ;;
  esac
  kill -0 "$first" 2>/dev/null && kill -0 "$second" 2>/dev/null ||
    fail "an adder stopped before whole-library operation $((whole + 1)) was through"
done
touch "$work/whole.done"
wait "$first" "$second"
# A program that had to wait too long says so; nothing else may fail.
for log in "$work/甲.err" "$work/乙.err" "$work/whole.err"; do
  [[ -s "$log" ]] && grep -v -e '另一个程序正在' -e '当前时间的文件夹已经存在' "$log" | grep -q . &&
    fail "unexpected failure: $(head -3 "$log")"
done

# Every case the adders were told was saved is there once, with its own remark file and text.
saved=$(cat "$work/甲.saved" "$work/乙.saved" 2>/dev/null | sort)
[[ $(wc -l <<<"$saved") -ge $rounds ]] || fail "too few saves went through: $(wc -l <<<"$saved")"
stored=""
for id in $("${run[@]}" list | cut -f1); do
  shown=$("${run[@]}" show "$id" --remark)
  text=$(sed -n 's/^remarkText: //p' <<<"$shown")
  remark=$(sed -n '/^remark:$/{n;p}' <<<"$shown")
  [[ "$text" == "$remark" ]] || fail "case $id: remark file '$remark' is not its text '$text'"
  [[ "$text" == 甲* || "$text" == 乙* ]] && stored+="$text"$'\n'
done
stored=$(sort <<<"${stored%$'\n'}")
[[ "$stored" == "$saved" ]] || fail "saved and stored cases differ: $(diff <(echo "$saved") <(echo "$stored") | head -5)"
cases=$("${run[@]}" list | wc -l)
files=$(find "$work/prog/Orlune_f" -maxdepth 1 -name '*.rtf' | wc -l)
[[ "$files" == "$cases" ]] || fail "$files remark files for $cases cases"
[[ -z "$(find "$work/prog" -name '~quorin*' -o -name '*restore*' -o -name '*_back.db*')" ]] ||
  fail "work files left behind: $(find "$work/prog" -name '~quorin*' -o -name '*restore*')"

finish "cases shared by several programs"
