#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# quorin-cli compare: two candidates side by side for a fixed request (the rows, the marks of the
# differing ones, 合 and 差 of a ticked condition), the usage errors and refusals, and --pdf
# writing the comparison on one page.
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
export LC_ALL=C.UTF-8

: >"$work/set.ini"
request=(--mountain 子 --gua 1 --name 张三 --birth 1980 --settings "$work/set.ini")
# 2024-03-15 is a 戊寅 day, 2024-03-19 a 壬午 day: its 午 clashes 子山 (冲山).
expect two-candidates '                 | 2024-03-15 10:30                 | 2024-03-19 10:30
≠ 公历(北京时间) | 2024年3月15日10时30分            | 2024年3月19日10时30分
≠ 农历           | 二○二四年 二月 初六日 巳时       | 二○二四年 二月 初十日 巳时
≠ 四柱           | 甲辰 丁卯 戊寅 丁巳              | 甲辰 丁卯 壬午 乙巳
  主 卦气/卦运   | ７坎 一                          | ７坎 一
  山 卦气/卦运   | １坤 一                          | １坤 一
  年 卦气/卦运   | ３睽 二                          | ３睽 二
  月 卦气/卦运   | ６损 九                          | ６损 九
≠ 日 卦气/卦运   | ８丰 六                          | ２巽 一
≠ 时 卦气/卦运   | ２小畜 八                        | ７需 三
≠ 冲山           | 合                               | 差
≠ 主命 卦气交通  | 合数(主年合十)，合生成(主时同道) | 合数(主年合十)，合生成(主日同道)
≠ 主命 卦运交通  | 合数(主月合十)                   | 合数(主月合十)，相通(主时通)
≠ 主命 被冲      | 日冲                             | 无
  常用神煞1      | 冲山-午。山家三煞-寅、午、戌。   | 冲山-午。山家三煞-寅、午、戌。
  常用神煞2      | 太岁-辰，岁破-戌。               | 太岁-辰，岁破-戌。
  常用神煞3      | 月破-酉。                        | 月破-酉。
  常用神煞4      | 年三煞-寅、午、戌方。            | 年三煞-寅、午、戌方。
  常用神煞5      | 月三煞-巳、酉、丑方。            | 月三煞-巳、酉、丑方。' \
  compare "2024-03-15 10:30" "2024-03-19 10:30" "${request[@]}" --avoid 冲山

# Without a condition no condition rows; the same moment twice differs nowhere.
"$cli" compare "2024-03-15 10:30" "2024-03-15 10:30" "${request[@]}" >"$work/same" || fail "same moment: exit $?"
grep -q '^≠' "$work/same" && fail "a moment compared with itself differs: $(grep '^≠' "$work/same")"
grep -qE '\| (合|差)( |$)' "$work/same" && fail "condition rows without a condition"

# Usage errors (exit 2) and refusals (exit 1, the program's message).
refused_with one-moment 2 "需要2到4个时间" compare "2024-03-15 10:30" "${request[@]}"
refused_with five-moments 2 "需要2到4个时间" compare 2024-03-15 2024-03-16 2024-03-17 2024-03-18 2024-03-19
refused_with bad-moment 2 "2024-03-15 25:00" compare "2024-03-15 10:30" "2024-03-15 25:00"
refused_with bad-condition 2 "--avoid 的条件应为" compare 2024-03-15 2024-03-16 --avoid 冲天
refused_with no-such-day 1 "2023-02-29 10:30：不存在这个日期" compare "2024-03-15 10:30" "2023-02-29 10:30" "${request[@]}"
refused_with year-zero 1 "年份必须在" compare "2024-03-15 10:30" "0-03-15 10:30"

# --pdf: the same text on stdout, and one A4 page holding the title and the captions.
args=(compare "2025-05-01 10:05" "2025-05-03 08:05" "2025-05-04 12:05" "2025-05-06 14:05" "${request[@]}"
      --person 配偶,女,1982 --person 长子,男,2010 --qi 合十 --include 主命 --avoid 冲主命,冲山,坐山三煞)
"$cli" "${args[@]}" >"$work/text" || fail "four candidates: exit $?"
"$cli" "${args[@]}" --pdf "$work/c.pdf" >"$work/out" 2>"$work/err"
code=$?
if [ "$code" -eq 2 ] && grep -qF "没有图片功能" "$work/err"; then
  finish "compare CLI"
fi
[ "$code" -eq 0 ] || fail "--pdf: exit $code ($(cat "$work/err"))"
cmp -s "$work/text" "$work/out" || fail "--pdf changed the text"
grep -qF '冲主命(长子)' "$work/text" || fail "no row of 冲主命 for 长子"
pdfinfo "$work/c.pdf" | grep -qE '^Pages: +1$' || fail "not one page: $(pdfinfo "$work/c.pdf" | grep Pages)"
pdfinfo "$work/c.pdf" | grep -qE '^Page size: +842(\.[0-9]+)? x 595(\.[0-9]+)? pts \(A4\)' ||
  fail "not A4 landscape: $(pdfinfo "$work/c.pdf" | grep 'Page size')"
pdftotext "$work/c.pdf" "$work/c.txt"
for word in 日课对比 "2025-05-01 10:05" "2025-05-03 08:05" "2025-05-04 12:05" "2025-05-06 14:05" "主命：张三" 子山 \
            常用神煞5 "冲主命(配偶)" 出具日期; do
  grep -qF -- "$word" "$work/c.txt" || fail "the page lacks: $word"
done
"$cli" compare 2024-03-15 2024-03-16 --pdf "$work/no/such/dir/c.pdf" >/dev/null 2>"$work/err"
[ $? -eq 1 ] || fail "unwritable file: expected exit 1"
grep -qF "$work/no/such/dir/c.pdf" "$work/err" || fail "unwritable file message: $(cat "$work/err")"

finish "compare CLI"
