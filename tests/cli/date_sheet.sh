#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# quorin-cli chart --pdf/--remark: the date sheet's page size, its texts (header lines,
# every 日课分析 paragraph, the remark), a long remark on a second page, the six-line
# chart of a selection, and the refusals.
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
export LC_ALL=C.UTF-8

: >"$work/set.ini"
chart=("$cli" chart "2024-03-15 10:30" --mountain 子 --gua 1 --name 张三 --birth 1980 --settings "$work/set.ini")

# Usage errors in every build.
"${chart[@]}" --remark "$work/none.txt" >/dev/null 2>&1
[ $? -eq 2 ] || fail "--remark without --pdf: expected exit 2"

"${chart[@]}" --pdf "$work/a.pdf" >"$work/out" 2>"$work/err"
code=$?
if [ "$code" -eq 2 ] && grep -qF "没有图片功能" "$work/err"; then
  [ -e "$work/a.pdf" ] && fail "a build without pictures wrote a file"
  finish "date sheet CLI"
fi
[ "$code" -eq 0 ] || fail "--pdf: exit $code ($(cat "$work/err"))"
command -v pdftotext >/dev/null || { fail "pdftotext (poppler-utils) is missing: run scripts/setup.sh"; finish "date sheet CLI"; }

"${chart[@]}" >"$work/text"
cmp -s "$work/text" "$work/out" || fail "--pdf changed the chart text"
pdfinfo "$work/a.pdf" | grep -qE '^Page size: +595(\.[0-9]+)? x 842(\.[0-9]+)? pts \(A4\)' ||
  fail "not A4: $(pdfinfo "$work/a.pdf" | grep 'Page size')"

# flat FILE: the text without any white space, so lines wrapped or spaced on paper compare.
flat() { tr -d ' \t\n\f\r' <"$1" | sed 's/　//g'; }
printf '这是评语第一行。\n第二行：择吉于甲辰年。\n' >"$work/remark.txt"
"${chart[@]}" --pdf "$work/r.pdf" --remark "$work/remark.txt" >/dev/null || fail "--remark: exit $?"
pdftotext "$work/r.pdf" "$work/r.txt"
flat "$work/r.txt" >"$work/r.flat"
# The title, the picture's four header lines, 日课分析 to the end of 常用神煞, the remark.
want=("张三日课单" "主命:张三(1980年-男命),子山(甲子)未知地" "公历:2024-3-15 10:30(北京时间),星期五"
      "农历:二○二四年 二月 初六日 巳时" "元辰:癸酉(２　渐卦　七　火　艮)" "这是评语第一行。" "第二行：择吉于甲辰年。" "出具日期：")
while IFS= read -r line; do want+=("$line"); done < <(sed -n '/^日课分析/,$p' "$work/text" | grep -v '^[[:space:]　]*$')
[ "${#want[@]}" -gt 30 ] || fail "too few analysis lines: ${#want[@]}"
for line in "${want[@]}"; do
  needle=$(printf '%s' "$line" | tr -d ' \t' | sed 's/　//g')
  grep -qF -- "$needle" "$work/r.flat" || fail "the sheet lacks: $line"
done
grep -qP '[\x{2E80}-\x{2FDF}]' "$work/r.txt" && fail "radicals in place of ideographs: $(grep -oP '[\x{2E80}-\x{2FDF}]' "$work/r.txt" | head -3 | tr -d '\n')"

# A long remark flows on to a second page, and the footer counts the pages.
for i in $(seq 1 80); do echo "长评语第${i}行"; done >"$work/long.txt"
"${chart[@]}" --pdf "$work/long.pdf" --remark "$work/long.txt" >/dev/null || fail "long remark: exit $?"
pages=$(pdfinfo "$work/long.pdf" | awk '/^Pages:/ { print $2 }')
short_pages=$(pdfinfo "$work/r.pdf" | awk '/^Pages:/ { print $2 }')
[ "$pages" -gt "$short_pages" ] || fail "a long remark gave $pages page(s), a short one $short_pages"
pdftotext -f "$pages" -l "$pages" "$work/long.pdf" - | grep -qF "长评语第80行" || fail "the remark's last line is not on the last page"
pdftotext -f 1 -l 1 "$work/long.pdf" - | grep -qF "第1页 共${pages}页" || fail "footer of page 1 of $pages"

# An RTF remark as the remark editor saves it.
printf '{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\b Bold remark\\b0  and plain\\par}' >"$work/remark.rtf"
"${chart[@]}" --pdf "$work/rtf.pdf" --remark "$work/remark.rtf" >/dev/null || fail "RTF remark: exit $?"
pdftotext "$work/rtf.pdf" - | grep -qF "Bold remark and plain" || fail "the RTF remark is missing"

# Without a selection no six-line chart; selecting the 山 column draws it with its six spirits and line bar.
pdftotext "$work/a.pdf" - | grep -qE '勾陈|原卦' && fail "a six-line chart without a selection"
read -r _ _ top _ _ column_width _ < <("${chart[@]}" --png "$work/p.png" --areas | grep '^table ')
band=$("${chart[@]}" --png "$work/p.png" --areas | awk '$1 == "band" && $2 == 2 { print int(($3 + $4) / 2) }')
"${chart[@]}" --pdf "$work/s.pdf" --click "$((column_width + column_width / 2)),$band" >/dev/null || fail "--click: exit $?"
pdftotext "$work/s.pdf" "$work/s.txt"
for word in 勾陈 朱雀 原卦 抽6; do grep -qF "$word" "$work/s.txt" || fail "the selection's six-line chart lacks $word"; done
[ -n "$top" ] || fail "no table areas"

# The persons after 主命 are named under 主命, and have their sections.
"${chart[@]}" --pdf "$work/p.pdf" --person 配偶,女,1982 >/dev/null || fail "persons: exit $?"
pdftotext "$work/p.pdf" "$work/p.txt"
sed -n 3p "$work/p.txt" | grep -qx '其他人:配偶(1982年-女命)' || fail "persons: line 3 is $(sed -n 3p "$work/p.txt")"
grep -qF '配偶和日课关系' "$work/p.txt" || fail "persons: no 配偶和日课关系"

# Refusals: a remark that cannot be read, a file that cannot be written (named in the message).
"${chart[@]}" --pdf "$work/x.pdf" --remark "$work/missing.txt" >/dev/null 2>"$work/err"
[ $? -eq 1 ] || fail "missing remark: expected exit 1"
grep -qF "missing.txt" "$work/err" || fail "missing remark message: $(cat "$work/err")"
[ -e "$work/x.pdf" ] && fail "a sheet was written without its remark"
"${chart[@]}" --pdf "$work/no/such/dir/x.pdf" >/dev/null 2>"$work/err"
[ $? -eq 1 ] || fail "unwritable file: expected exit 1"
grep -qF "$work/no/such/dir/x.pdf" "$work/err" || fail "unwritable file message: $(cat "$work/err")"

finish "date sheet CLI"
