#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end checks of quorin-cli cases: add, list, show, search, find, export, import, compact,
# backup, restore and the refusals for broken or missing databases.
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
run=("$cli" cases --program-dir "$work/prog")

# A library not made yet is an empty one; reading it creates nothing.
expect list-new-library "" list
refused_with import-nothing 2 "import takes one file name" import
refused add-year-zero "年份必须在-4713到9999年之间，并且没有公元0年
注意：公元前用负数，比如公元前120年，就输入-120" add --name 王 --date "0-01-01 00:00"
[[ -e "$work/prog/dat/Orlune.db" ]] && fail "listing, or a refused add or import, created a new library's database"

expect add-1 "1" add --name 张三 --date "2010-05-06 07:08" --class 开业 --text "第一行
第二行'引号"
expect add-2 "2" add --name 赵六 --date "2010-05-06 07:08" --class 求财
expect add-3 "3" add --name 李四 --date "-120-01-02 23:30" --lunar --female
expect add-4 "4" add --name "Bad/Name" --date "2023-02-01 00:00" --lunar --leap --class 新类
expect add-5 "5" add --name 张三 --date "2010-05-06 07:08" --class 开业

# What the chart refuses is refused with its message, and leaves no remark file behind.
remark_count() { find "$work/prog/Orlune_f" -maxdepth 1 -name '*.rtf' | wc -l; }
remarks_before=$(remark_count)
year_range="年份必须在-4713到9999年之间，并且没有公元0年
注意：公元前用负数，比如公元前120年，就输入-120"
refused add-year-beyond "$year_range" add --name 王 --date "99999-01-01 00:00"
refused add-no-lunar-leap "不存在这个农历日期，无法转换到公历！" add --name 王 --date "2024-03-01 00:00" --lunar --leap
for day in 2024-02-30 2023-02-29 2024-04-31; do
  refused "add-$day" "不存在这个日期" add --name 王 --date "$day 00:00"
done
for year in 0 99999999; do
  refused "add-master-$year" "主命$year_range" add --name 王 --date "2024-02-10 00:00" --master-year "$year"
done
refused add-position "山家、龙、水的卦位不存在" add --name 王 --date "2024-02-10 00:00" --mountain 999999 --gua -5
refused_with add-not-text 2 "第6个参数不是有效的文字" add --name $'\xff\xfe' --date "2024-02-10 00:00"
[[ $(remark_count) == "$remarks_before" ]] || fail "a refused add left a remark file"
# Arguments typed in a GB18030 locale are stored as the text they are.
if localedef -i zh_CN -f GB18030 "$work/zh_CN.GB18030" 2>/dev/null; then
  LOCPATH="$work" LC_ALL=zh_CN.GB18030 "${run[@]}" --db "$work/gb.db" add --name "$(printf '\xd5\xc5\xc8\xfd')" \
    --date "2024-02-10 00:00" >/dev/null || fail "add in a GB18030 locale"
  "${run[@]}" --db "$work/gb.db" show 1 | grep -qx 'name: 张三' || fail "a GB18030 name stored as UTF-8"
fi

expect list-default "5	张三     公2010-05-06 07:08 
4	BadName  农闰2023-02-01 00:00 
3	李四     农-120-01-02 23:30 
2	赵六     公2010-05-06 07:08 
1	张三     公2010-05-06 07:08 " list

# Time descending: 赵 comes before 张 at the same moment; a category the list lacks comes last.
expect list-time-categories "开业
  5	张三     公2010-05-06 07:08 
  1	张三     公2010-05-06 07:08 
求财
  2	赵六     公2010-05-06 07:08 
临时保存
  3	李四     农-120-01-02 23:30 
新类
  4	BadName  农闰2023-02-01 00:00 " list --style 0 --order 1
# Surname z-a: 张 (Z, 24th of the surnames) before 赵 (Z, 1st), then 李; equal keys keep the newest-first list order.
expect list-surname "5	张三     公2010-05-06 07:08 
1	张三     公2010-05-06 07:08 
2	赵六     公2010-05-06 07:08 
3	李四     农-120-01-02 23:30 
4	BadName  农闰2023-02-01 00:00 " list --order 4
# Options may stand before the subcommand as after it.
expect list-options-first "$("${run[@]}" list --order 4 --style 0)" --order 4 --style 0 list

expect show-remark "id: 1
name: 张三
male: 1
className: 开业
isLunar: 0
isLeapMonth: 0
year: 2010
month: 5
day: 6
hour: 7
minute: 8
province: 34
city: 0
addrName: 未知地
longitude: 120.000000
latitude: 30.000000
masterYear: 1978
mountain: 0
mountainGua: 0
dragonMountain: -1
dragonGua: 0
waterMountain: -1
waterGua: 0
showFacing: 0
extra: -1 -1 -1 -1 -1
remarkFile: 张三_201005060708
remarkText: 第一行\n第二行引号
remark:
第一行
第二行'引号" show 1 --remark
"${run[@]}" show 5 | grep -q '^remarkFile: 张三_201005060708_0$' || fail "remark name collision"
"${run[@]}" show 3 | grep -q '^year: -120$' || fail "year BC"
refused show-missing "没有这个案例：99" show 99

expect search-two-fields "1	张三     2010-05-06 开业
5	张三     2010-05-06 开业" search 张 2010年
expect search-double-hour "3	李四     -120-01-02 临时保存
4	BadName  2023-02-01 新类" search 子时
expect search-none "没有符合的案例！" search 张 张
expect find-year-bc "3	李四     -120-01-02 临时保存" find --from -120 --to -120
expect find-class "1	张三     2010-05-06 开业
5	张三     2010-05-06 开业" find --class 开 --sex 男
expect find-none "没有找到符合条件的案例。" find --name 王
refused find-half-range "年份必须在-850到2100年之间，并且没有公元0年
注意：公元前用负数，比如公元前120年，就输入-120" find --from 2000
refused find-reversed "结束年必须大于或等于起始年" find --from 2010 --to 2000
# The conditions are cut to the GBK bytes the dialog keeps: 20 for a name, so twelve characters
# compare as their first ten.
"$cli" cases --program-dir "$work/long" add --name 甲乙丙丁戊己庚辛壬癸 --date "2024-02-10 00:00" >/dev/null
run=("$cli" cases --program-dir "$work/long")
expect find-cut-name "1	甲乙丙丁戊己庚辛壬癸 2024-02-10 临时保存" find --name 甲乙丙丁戊己庚辛壬癸子丑 --name-exact
run=("$cli" cases --program-dir "$work/prog")

expect export-some "3 个案例文件已经保存到：$work/some.db" export "$work/some.db" --class 求财 --class 开业
refused export-exists "导出文件已经存在：$work/some.db" export "$work/some.db"
refused export-nothing "没有可以导出的案例，或者无法创建导出数据库，导出失败，请重启软件再次试试！" \
  export "$work/none.db" --class 结婚
[[ -e "$work/none.db" ]] && fail "empty export file left behind"
expect export-categories "1	张三     2010-05-06 开业
2	赵六     2010-05-06 求财
3	张三     2010-05-06 开业" --db "$work/some.db" search 2010年

expect import "共导入 3 个案例！" import "$work/some.db"
expect import-ids "2	赵六     2010-05-06 求财
7	赵六     2010-05-06 求财" find --from 2010 --to 2010 --name 赵六 --name-exact
# Names are trimmed as the dialog trims its boxes, the ideographic space included.
expect find-ideographic-blanks "2	赵六     2010-05-06 求财
7	赵六     2010-05-06 求财" find --from 2010 --to 2010 --name "　赵六 " --name-exact
printf 'not a database, just text for the test ................................' > "$work/text.db"
refused import-other-format "无法打开导入的数据库文件！" import "$work/text.db"
refused import-missing "不存在这个数据库文件，无法导入！" import "$work/nothing.db"

refused compact-too-few "案例数据过少，无需整理！" compact
"${run[@]}" --db "$work/prog/dat/Orlune.db" show 8 >/dev/null || fail "show before compact"
expect compact " 8 个案例已经整理出来！" compact --force
expect compact-kept "5	张三     2010-05-06 开业
8	张三     2010-05-06 开业" find --name 张 --class 开业 --class-exact --sex 男 --comment 输入自己
[[ -e "$work/prog/dat/Orlune_back.db" ]] && fail "compaction file left behind"

# Backup, changes, then a restore that brings back the cases and remark files of the backup
# and keeps what else the user has in the remark folder.
remarks="$work/prog/Orlune_f"
remark_sums() { (cd "$remarks" && find . -maxdepth 1 -type f -name '*.rtf' -exec md5sum {} + | sort); }
list_before="$("${run[@]}" list)"
sums_before="$(remark_sums)"
backup_out="$("${run[@]}" backup "$work/backups" 2>"$work/backup_err")" || fail "backup: $(cat "$work/backup_err")"
[[ "$backup_out" == "成功备份，已保存到$work/backups/Quorin_备份_"*年*月*日*时*分*秒目录下 ]] || fail "backup: $backup_out"
backup="${backup_out#成功备份，已保存到}"
backup="${backup%目录下}"
cmp -s "$work/prog/dat/Orlune.db" "$backup/Orlune.db" || fail "backup database"
cmp -s <(printf 'save\r\n') "$backup/Orlune_f/save.txt" || fail "backup marker"
[[ "$(cd "$backup/Orlune_f" && find . -maxdepth 1 -name '*.rtf' -exec md5sum {} + | sort)" == "$sums_before" ]] ||
  fail "backup remark files"

expect add-after-backup "9" add --name 钱七 --date "2011-01-01 01:01"
first_remark="$(find "$remarks" -maxdepth 1 -name '*.rtf' | sort | head -1)"
printf '{\\rtf1 changed}' > "$first_remark"
mkdir -p "$remarks/notes" && printf 'mine' > "$remarks/notes/n.txt"
expect restore "成功还原，请重新打开软件！" restore "$backup"
expect list-after-restore "$list_before" list
# The backup's remarks are back; a remark file no restored case replaces stays where it was.
[[ "$(remark_sums | grep -v 钱七)" == "$sums_before" ]] || fail "remark files after restore"
[[ -n "$(find "$remarks" -maxdepth 1 -name '钱七_*.rtf')" ]] || fail "restore removed a remark it does not replace"
[[ "$(cat "$remarks/notes/n.txt")" == mine ]] || fail "the user's folder in Orlune_f"
[[ -n "$(find "$work/prog" -name '*restore*')" ]] && fail "restore left staging behind"

# A restore from a broken backup changes nothing; nor does one into a new program folder.
mkdir -p "$work/broken/Orlune_f" "$work/half"
printf 'not a database, just text for the test ................................' > "$work/broken/Orlune.db"
printf '{\\rtf1 x}' > "$work/broken/Orlune_f/x.rtf"
printf 'save\r\n' > "$work/broken/Orlune_f/save.txt"
cp "$work/prog/dat/Orlune.db" "$work/db_before"
refused restore-broken "源db文件不是案例数据库，无法还原！
现有的案例数据没有改动。" restore "$work/broken"
cmp -s "$work/prog/dat/Orlune.db" "$work/db_before" || fail "database changed by a failed restore"
[[ "$(remark_sums | grep -v 钱七)" == "$sums_before" && ! -e "$remarks/x.rtf" ]] ||
  fail "remark files changed by a failed restore"
refused restore-no-db "没有要还原的的db数据文件！" restore "$work/half"
cp "$work/db_before" "$work/half/Orlune.db"
refused restore-no-remarks "没有要还原的评语文件夹！" restore "$work/half"
run=("$cli" cases --program-dir "$work/fresh")
refused restore-broken-fresh "源db文件不是案例数据库，无法还原！
现有的案例数据没有改动。" restore "$work/broken"
[[ -e "$work/fresh/dat/Orlune.db" ]] && fail "failed restore left a new database"
expect restore-fresh "成功还原，请重新打开软件！" restore "$backup"
expect list-fresh "$list_before" list
run=("$cli" cases --program-dir "$work/prog")
cp "$work/text.db" "$work/broken.db"
expect restore-over-broken "成功还原，请重新打开软件！" --db "$work/broken.db" restore "$backup"
expect list-over-broken "$list_before" --db "$work/broken.db" list

cp "$work/text.db" "$work/corrupt.db"
refused corrupt "file is not a database" --db "$work/corrupt.db" list
cmp -s "$work/text.db" "$work/corrupt.db" || fail "corrupt file was changed"

# A case keeps the persons after 主命; one without them shows no persons line.
run=("$cli" cases --program-dir "$work/household")
expect add-household "1" add --name 张三 --date "2024-03-05 08:07" --person 配偶,女,1982 --person "长 子,男,-5"
expect add-alone "2" add --name 李四 --date "2024-03-05 08:07"
"${run[@]}" show 1 | grep -qx 'persons: 配偶,女,1982;长子,男,-5' || fail "household: $("${run[@]}" show 1 | grep persons)"
"${run[@]}" show 2 | grep -q '^persons:' && fail "a case without persons shows a persons line"

# update rewrites a case's name, category and remark as 存旧 does; --version belongs to shared libraries.
expect update-local "已保存：2" update 2 --name 李五 --class 求财 --text "新的评语"
"${run[@]}" show 2 --remark >"$work/updated" || fail "update: show exit $?"
grep -qx 'name: 李五' "$work/updated" && grep -qx 'className: 求财' "$work/updated" || fail "update: $(head -3 "$work/updated")"
[[ "$(tail -1 "$work/updated")" == 新的评语 ]] || fail "update: remark $(tail -1 "$work/updated")"
refused_with update-version 2 "--version 只用于共享案例库" update 2 --name 李六 --version 1
refused_with update-missing 1 "没有这个案例：9" update 9 --name 李六

finish "cases CLI"
