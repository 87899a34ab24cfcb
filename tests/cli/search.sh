#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# quorin-cli search: whole years, patterns, digit groups, charting the results, refusals.
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
run=("$cli" search)

# Runs a search that must succeed; its output is left in $work/out.
search() {
  "${run[@]}" "$@" >"$work/out" 2>"$work/err"
  local code=$?
  [ "$code" -eq 0 ] || fail "search $*: exit $code ($(cat "$work/err"))"
}

# The moments of the last output, without running numbers and count.
moments() { grep '时$' "$work/out" | sed 's/^[0-9]*：//'; }

# Nothing ticked: every double hour of the year, then the count.
for row in "2023 4380" "2024 4392" "9999 4380" "-121 4392"; do
  set -- $row
  search --year "$1"
  astronomical=$1
  [ "$1" -lt 0 ] && astronomical=$(($1 + 1))
  [ "$(wc -l <"$work/out")" -eq $(($2 + 1)) ] || fail "year $1: $(wc -l <"$work/out") lines"
  [ "$(head -1 "$work/out")" = "1：${astronomical}年01月01日00时" ] || fail "year $1 first: $(head -1 "$work/out")"
  [ "$(tail -2 "$work/out" | head -1)" = "$2：${astronomical}年12月31日22时" ] || fail "year $1 last: $(tail -2 "$work/out")"
  [ "$(tail -1 "$work/out")" = "共找到$2条日课" ] || fail "year $1 count: $(tail -1 "$work/out")"
done

# 一卦纯清 with 坐山纳入: charting each result shows one 卦气 digit for 山 and the pillars.
search --year 2023 --pattern 一卦纯清 --include 坐山纳入 --mountain 丑山
[ "$(tail -1 "$work/out")" = "共找到8条日课" ] || fail "一卦纯清 丑山: $(tail -1 "$work/out")"
moments >"$work/pure"
while IFS= read -r moment; do
  date=$(echo "$moment" | sed -E 's/^(-?[0-9]+)年([0-9]+)月([0-9]+)日([0-9]+)时$/\1-\2-\3 \4:05/')
  digits=$("$cli" chart "$date" --mountain 丑 | sed -n 13p | sed 's/　//g')
  # The 主 column first, then 山 and the four pillars.
  rest=${digits#?}
  [ "$(echo "$rest" | grep -o . | sort -u | wc -l)" -eq 1 ] || fail "一卦纯清 $date: digits $digits"
done <"$work/pure"
search --year 2023 --qi 同数 --mountain 丑
[ "$(moments)" = "$(cat "$work/pure")" ] || fail "一卦纯清 without the mountain differs"
search --year 2023 --qi 同数 --include 坐山 --mountain 子
[ "$(cat "$work/out")" = "没有找到符合条件的日课，请改变查找条件。" ] || fail "一卦纯清 子山: $(cat "$work/out")"

# A ready pattern clears what was ticked before it and keeps what follows.
search --year 2024 --mountain 午 --pattern 四大格局
moments >"$work/ten"
search --year 2024 --mountain 午 --qi 合十
[ "$(moments)" = "$(cat "$work/ten")" ] || fail "四大格局 is not 卦气合十"
search --year 2024 --mountain 午 --pattern 四大格局 --avoid 冲山
moments >"$work/ten-avoid"
search --year 2024 --mountain 午 --qi 卦气合十 --avoid 冲山
[ "$(moments)" = "$(cat "$work/ten-avoid")" ] || fail "四大格局 with 冲山"
[ "$(wc -l <"$work/ten-avoid")" -lt "$(wc -l <"$work/ten")" ] || fail "冲山 excluded nothing"

# Digits side by side are a narrower condition than digits anywhere.
search --year 2024 --include 主命 --yun-digits "1 3"
moments >"$work/loose"
search --year 2024 --include 主命 --yun-digits 13 --yun-adjacent
moments >"$work/adjacent"
[ -s "$work/adjacent" ] || fail "adjacent digits found nothing"
[ "$(wc -l <"$work/adjacent")" -lt "$(wc -l <"$work/loose")" ] || fail "adjacent digits not narrower"
[ -z "$(comm -23 <(sort "$work/adjacent") <(sort "$work/loose"))" ] || fail "adjacent result outside the loose one"

# True solar time at another longitude moves the hour pillars.
printf '[set]\r\nidate=1\r\n' >"$work/solar.ini"
search --year 2024 --qi 合五 --mountain 子
moments >"$work/beijing"
search --year 2024 --qi 合五 --mountain 子 --settings "$work/solar.ini" --lon 80
[ "$(moments)" != "$(cat "$work/beijing")" ] || fail "longitude 80 changed nothing"

# A range across a year end is the two year searches cut to its days, numbered anew.
search --year 2023 --qi 合五 --mountain 子
sed -n '/2023年12月2[0-9]日\|2023年12月3[01]日/p' "$work/out" | sed 's/^[0-9]*：//' >"$work/years"
search --year 2024 --qi 合五 --mountain 子
sed -n '/2024年01月0[1-9]日\|2024年01月10日/p' "$work/out" | sed 's/^[0-9]*：//' >>"$work/years"
search --from 2023-12-20 --to 2024-01-10 --qi 合五 --mountain 子
[ "$(moments)" = "$(cat "$work/years")" ] || fail "range 2023-12-20..2024-01-10 differs from its years"
[ "$(grep -c '时$' "$work/out")" -eq "$(wc -l <"$work/years")" ] || fail "range count"
[ "$(head -1 "$work/out" | sed 's/：.*//')" = 1 ] || fail "range numbering: $(head -1 "$work/out")"
[ "$(tail -1 "$work/out")" = "共找到$(wc -l <"$work/years")条日课" ] || fail "range count line: $(tail -1 "$work/out")"
# The whole year as a range is the year search; one day has its twelve moments.
search --year 2024 --pattern 挨星合十
cp "$work/out" "$work/year"
search --from 2024-01-01 --to 2024-12-31 --pattern 挨星合十
cmp -s "$work/out" "$work/year" || fail "2024 as a range differs from --year 2024"
search --from -1-12-31 --to -1-12-31
[ "$(head -1 "$work/out")" = "1：0年12月31日00时" ] || fail "one day BC: $(head -1 "$work/out")"
[ "$(tail -1 "$work/out")" = "共找到12条日课" ] || fail "one day: $(tail -1 "$work/out")"

# CSV: one row per result line, the same moments; pillars and numbers as the chart shows them.
search --from 2024-02-01 --to 2024-03-31 --qi 合十 --include 主命,坐山 --mountain 午 --birth 1980 --csv "$work/r.csv"
[ "$(head -c 3 "$work/r.csv" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "csv: no byte-order mark"
[ "$(($(wc -l <"$work/r.csv") - 1))" -eq "$(grep -c '时$' "$work/out")" ] || fail "csv: rows and lines differ"
[ "$(tail -n +2 "$work/r.csv" | cut -d, -f2,3 | tr -d '\r' | sed -E 's/^([0-9]+)-([0-9]+)-([0-9]+),([0-9]+):05$/\1年\2月\3日\4时/')" = "$(moments)" ] ||
  fail "csv: moments differ from the lines"
rows=$(($(wc -l <"$work/r.csv") - 1))
for n in 1 $(((rows + 1) / 2)) "$rows"; do
  row=$(sed -n "$((n + 1))p" "$work/r.csv" | tr -d '\r')
  IFS=, read -r number date time lunar y m d h rest <<<"$row"
  "$cli" chart "$date $time" --mountain 午 --birth 1980 >"$work/chart"
  [ "$number" = "$n" ] || fail "csv row $n numbered $number"
  [ "$(sed -n 4p "$work/chart" | tr -d '\r')" = "农历：$lunar" ] || fail "csv row $n lunar: $lunar"
  # The chart's columns 主 山 年 月 日 时: stems on line 10, branches on 11, 卦气 on 13, 卦运 on 18.
  cells() { sed -n "${1}p" "$work/chart" | sed 's/　//g' | grep -o .; }
  pillars=$(paste -d '' <(cells 10) <(cells 11) | tail -4 | tr '\n' ' ')
  [ "$pillars" = "$y $m $d $h " ] || fail "csv row $n pillars: $y $m $d $h, chart $pillars"
  digits=$(echo "$rest" | tr ',' ' ')
  qi=$(echo "$digits" | awk '{print $1,$3,$5,$7,$9,$11}')
  yun=$(echo "$digits" | awk '{print $2,$4,$6,$8,$10,$12}')
  chartqi=$(cells 13 | sed 'y/１２３４５６７８９/123456789/' | tr '\n' ' ' | sed 's/ $//')
  [ "$qi" = "$chartqi" ] || fail "csv row $n 卦气 $qi, chart $chartqi"
  chartyun=$(cells 18 | sed 'y/一二三四五六七八九/123456789/' | tr '\n' ' ' | sed 's/ $//')
  [ "$yun" = "$chartyun" ] || fail "csv row $n 卦运 $yun, chart $chartyun"
done
"${run[@]}" --year 2024 --qi 同数 --csv /nonexistent/x.csv >/dev/null 2>"$work/err"
[ $? -eq 1 ] && [ "$(cat "$work/err")" = "无法写入文件：/nonexistent/x.csv" ] || fail "csv not written: $(cat "$work/err")"

# --near: after the full matches, the moments missing one condition, each naming it; the count
# line says how many, and the CSV gains the column 差. Without --near the lines are the full ones.
"${run[@]}" --year 2025 --mountain 1 --qi 合十 --avoid 冲主命 --shengru --near --csv "$work/near.csv" >"$work/near" ||
  fail "near misses"
"${run[@]}" --year 2025 --mountain 1 --qi 合十 --avoid 冲主命 --shengru >"$work/full" || fail "full matches"
full=$(($(wc -l <"$work/full") - 1))
head -n "$full" "$work/near" | cmp -s - <(head -n "$full" "$work/full") || fail "near misses change the full matches"
near=$(grep -c '　差：' "$work/near")
[ "$near" -gt 0 ] && [ "$(grep -c '　差：' <(head -n "$full" "$work/near"))" -eq 0 ] || fail "near misses not after the full matches"
[ "$(tail -n 1 "$work/near")" = "共找到${full}条日课，另有${near}条差一条的日课列在后面。" ] || fail "near count: $(tail -n 1 "$work/near")"
grep -v '　差：\(卦气合十\|冲主命\|生入克入\)$' <(sed -n "$((full + 1)),\$p" "$work/near" | head -n "$near") &&
  fail "a near miss names a condition not ticked"
head -n 1 "$work/near.csv" | tr -d '\r' | grep -q ',差$' || fail "near CSV header"
[ "$(tr -d '\r' <"$work/near.csv" | grep -c ',\(生入克入\|冲主命\|卦气合十\)$')" -eq "$near" ] || fail "near CSV column"

# --person: a moment found for 主命 and a spouse is found by each one-person search; 冲主命 is
# named after the person it fails.
both=(--year 2025 --mountain 1 --include 主命 --qi 合十 --avoid 冲主命)
"${run[@]}" "${both[@]}" --birth 1978 | head -n -1 >"$work/first"
"${run[@]}" "${both[@]}" --birth 1982 | head -n -1 >"$work/second"
"${run[@]}" "${both[@]}" --birth 1978 --person 配偶,女,1982 | head -n -1 | sed 's/^[0-9]*：//' >"$work/both"
[ -s "$work/both" ] || fail "persons found nothing"
comm -12 <(sed 's/^[0-9]*：//' "$work/first" | sort) <(sed 's/^[0-9]*：//' "$work/second" | sort) |
  cmp -s - <(sort "$work/both") || fail "persons: not what both one-person searches find"
"${run[@]}" "${both[@]}" --person 配偶,女,1982 --near | grep -q '　差：冲主命(配偶)$' || fail "near miss of the spouse"
refused_with "person" 2 "--person 应写作" --year 2025 --person 配偶,1982
refused_with "persons" 2 "最多8个人" --year 2025 $(for i in 1 2 3 4 5 6 7 8; do printf -- '--person 子%s,男,2000 ' "$i"; done)

refused_with "reversed range" 1 "结束日期不能早于起始日期" --from 2024-05-02 --to 2024-05-01
refused_with "long range" 1 "查找范围不能超过100年" --from 1900-03-01 --to 2000-03-01
refused_with "range year" 1 "查找年份必须在-4713到9999年之间" --from 9999-12-31 --to 10000-01-01
refused_with "year past 16 bits" 1 "查找年份必须在-4713到9999年之间" --from 67560-01-01 --to 67560-01-02
refused_with "missing day" 1 "不存在这个日期" --from 1582-10-10 --to 1582-10-20
refused_with "from alone" 2 "--from 和 --to" --from 2024-01-01
refused_with "year and range" 2 "--year" --year 2024 --from 2024-01-01 --to 2024-02-01
refused_with "bad day" 2 "--to 日期应为" --from 2024-01-01 --to 2024/02/01

refused_with "year 0" 1 "查找年份必须在-4713到9999年之间" --year 0
refused_with "year 10000" 1 "查找年份必须在-4713到9999年之间" --year 10000
refused_with "birth" 1 "主命年份必须在-4713到9999年之间" --year 2024 --birth -5000
refused_with "no year" 2 "需要 --year" --qi 同数
refused_with "condition" 2 "--qi 的条件应为" --year 2024 --qi 合六
refused_with "column" 2 "--gua" --year 2024 --mountain 壬 --gua 3
refused_with "dragon" 2 "--dragon" --year 2024 --dragon 子
refused_with "digits" 2 "--qi-digits" --year 2024 --qi-digits 1234567
refused_with "no digits" 2 "--yun-digits" --year 2024 --yun-digits 0
refused_with "adjacent alone" 2 "--qi-adjacent" --year 2024 --qi-adjacent
refused_with "pattern" 2 "--pattern" --year 2024 --pattern 【现成吉格】

finish "search CLI"
