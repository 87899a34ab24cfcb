#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# quorin-cli chart: the golden chart texts, the coloured ranges, line flips and refusals.
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
golden="$src/tests/chart/golden"
run=("$cli" chart)

# Compares the output of a command with a file.
same() {
  local name="$1" expected="$2"
  shift 2
  "$@" >"$work/out" 2>"$work/err"
  local code=$?
  if [ "$code" -ne 0 ]; then
    fail "$name: exit $code ($(cat "$work/err"))"
    return
  fi
  diff -u "$expected" "$work/out" >"$work/diff" || fail "$name: differs from $expected"$'\n'"$(head -20 "$work/diff")"
}

: >"$work/default.ini"
printf '[set]\r\nidate=2\r\n' >"$work/local.ini"
printf '[set]\r\nijiazi=1\r\niShanShow=1\r\nleftpos=4\r\n' >"$work/lunar.ini"

same zi "$golden/zi_mountain_2024.txt" \
  "$cli" chart "2024-03-15 10:30" --mountain 子 --gua 1 --name 张三 --birth 1980 --settings "$work/default.ini"
same qian "$golden/qian_mountain_full_1995.txt" \
  "$cli" chart "1995-08-20 13:05" --mountain 乾山 --gua 1 --name 李四 --female --birth -120 \
  --dragon 子:1 --water 7:2 --facing --lon 116.5 --lat 39.9 --place 北京 --settings "$work/local.ini"
same wu "$golden/wu_mountain_lunar_leap_2023.txt" \
  "$cli" chart "2023-02-01 23:30" --lunar --leap --mountain 13 --gua 1 --birth 1954 --settings "$work/lunar.ini"

# Coloured ranges: nine content lines of the table (red then blue), then the headings.
"$cli" chart "2024-03-15 10:30" --mountain 子 --gua 1 --name 张三 --birth 1980 --settings "$work/default.ini" --spans \
  >"$work/spans" || fail "spans: exit $?"
lines=$(wc -l <"$golden/zi_mountain_2024.txt")
tail -n +"$((lines + 1))" "$work/spans" >"$work/ranges"
[ "$(wc -l <"$work/ranges")" -eq 23 ] || fail "spans: $(wc -l <"$work/ranges") ranges, expected 23"
[ "$(head -1 "$work/ranges")" = "99 8 0x0000FF 0" ] || fail "spans: first range $(head -1 "$work/ranges")"
[ "$(sed -n 2p "$work/ranges")" = "107 12 0xFF0000 0" ] || fail "spans: second range $(sed -n 2p "$work/ranges")"
[ "$(tail -1 "$work/ranges")" = "716 5 0x008000 1" ] || fail "spans: last range $(tail -1 "$work/ranges")"
# Every bold range starts a heading line.
python3 - "$work/spans" "$lines" <<'PY' || fail "spans: a bold range is not a heading"
import sys
text = open(sys.argv[1], encoding="utf-8").read().split("\n")
n = int(sys.argv[2])
body = "\n".join(text[:n]) + "\n"
headings = []
for line in text[n:]:
    if not line:
        continue
    start, length, colour, bold = line.split()
    if bold == "1":
        headings.append(body[int(start):int(start) + int(length)])
expected = ["日课分析：", "主命和山家关系：", "主命和日课关系：", "山家和日课关系：", "常用神煞："]
sys.exit(0 if headings == expected else 1)
PY

# Flipping line 1 of 午山 夬 moves to 大过 on the same mountain, and back.
"$cli" chart "2024-03-15 10:30" --mountain 午 --gua 0 --settings "$work/default.ini" --flip 1 >"$work/flip" ||
  fail "flip: exit $?"
grep -q '^元辰：.*(夬抽1)$' "$work/flip" || fail "flip: no (夬抽1) in $(sed -n 5p "$work/flip")"
head -1 "$work/flip" | grep -q '午山(丙午)$' || fail "flip: not on 午山: $(head -1 "$work/flip")"
"$cli" chart "2024-03-15 10:30" --mountain 午 --gua 0 --settings "$work/default.ini" --flip 1,1 >"$work/back" ||
  fail "flip back: exit $?"
"$cli" chart "2024-03-15 10:30" --mountain 午 --gua 0 --settings "$work/default.ini" >"$work/plain"
cmp -s "$work/back" "$work/plain" || fail "flip back: the chart differs from the unflipped one"

# Refusals: the program's messages exit 1, bad usage exits 2.
refused_with year0 1 "年份必须在-4713到9999年之间，并且没有公元0年" "0-03-15 10:30"
refused_with year10000 1 "年份必须在-4713到9999年之间" "10000-03-15 10:30"
refused_with birth 1 "主命年份必须在-4713到9999年之间" "2024-03-15 10:30" --birth 0
refused_with gregorian 1 "不存在这个日期" "1582-10-10 12:00" --settings "$work/default.ini"
refused_with leap 1 "不存在这个农历日期，无法转换到公历！" "2024-02-01 12:00" --lunar --leap --settings "$work/default.ini"
refused_with column 1 "山家、龙、水的卦位不存在" "2024-03-15 10:30" --mountain 壬 --gua 3 --settings "$work/default.ini"
refused_with mountain 2 "--mountain" "2024-03-15 10:30" --mountain 天
refused_with moment 2 "YYYY-MM-DD" "2024/03/15"
refused_with flipline 2 "--flip" "2024-03-15 10:30" --flip 7
refused_with settings 2 "找不到设置文件" "2024-03-15 10:30" --settings "$work/none.ini"

# A name with characters a case file cannot hold is cleaned, with the window's notice.
"$cli" chart "2024-03-15 10:30" --name 'a:b*c' --settings "$work/default.ini" >"$work/name" 2>"$work/err" ||
  fail "name: exit $?"
head -1 "$work/name" | grep -q '^主命：abc（1978年-男命），' || fail "name: $(head -1 "$work/name")"
grep -q '已经处理为合适的文本' "$work/err" || fail "name: no notice"

# Persons after 主命: named in the header, a column beside 主, their own sections; the rest as without.
"$cli" chart "2024-03-15 10:30" --settings "$work/default.ini" --person 配偶,女,1982 --person 长子,男,2010 \
  >"$work/persons" || fail "persons: exit $?"
sed -n 2p "$work/persons" | grep -qx '其他人：配偶（1982年-女命）、长子（2010年-男命）' || fail "persons: $(sed -n 2p "$work/persons")"
grep -q '^　　主　　配　　长　　山　　年' "$work/persons" || fail "persons: no columns 配 长 beside 主"
for heading in 配偶和山家关系 长子和山家关系 配偶和日课关系 长子和日课关系; do
  grep -qx "$heading：" "$work/persons" || fail "persons: no $heading"
done
grep -q '^常用神煞：' "$work/persons" || fail "persons: no 常用神煞"
refused_with person 2 "--person 应写作" "2024-03-15 10:30" --person 配偶,1982
refused_with eight 2 "最多8个人" "2024-03-15 10:30" $(for i in 1 2 3 4 5 6 7 8; do echo --person "p$i,男,1990"; done)

finish "chart CLI"
