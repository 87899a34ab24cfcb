#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# quorin-cli chart --png/--click/--areas: the picture file, clicks that select a
# column and flip lines of the mountain hexagram, and the refusals.
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

# png_size FILE width|height: a number of the PNG header (big-endian at byte 16 or 20).
png_size() {
  local at=16
  [ "$2" = height ] && at=20
  echo $((16#$(od -An -tx1 -j"$at" -N4 "$1" | tr -d ' \n')))
}

: >"$work/set.ini"
chart=("$cli" chart "2024-03-15 10:30" --mountain 子 --gua 1 --name 张三 --birth 1980 --settings "$work/set.ini")

# Usage errors in every build.
"${chart[@]}" --click 10,10 >/dev/null 2>"$work/err"
[ $? -eq 2 ] || fail "--click without --png: expected exit 2"
grep -qF -- "--png" "$work/err" || fail "--click without --png: $(cat "$work/err")"

"${chart[@]}" --png "$work/a.png" >"$work/out" 2>"$work/err"
code=$?
if [ "$code" -eq 2 ] && grep -qF "没有图片功能" "$work/err"; then
  # A build without the Qt canvas says so and writes nothing.
  [ -e "$work/a.png" ] && fail "a build without pictures wrote a file"
  finish "chart picture CLI"
fi
[ "$code" -eq 0 ] || fail "--png: exit $code ($(cat "$work/err"))"

# A PNG file of 55 × 0.7 × 55 characters; the text is printed as without --png.
[ "$(head -c 8 "$work/a.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "not a PNG file"
width=$(png_size "$work/a.png" width)
height=$(png_size "$work/a.png" height)
[ $((width % 55)) -eq 0 ] || fail "width $width is not 55 characters"
[ "$height" -eq $((width * 7 / 10)) ] || fail "height $height for width $width"
"${chart[@]}" >"$work/text"
cmp -s "$work/text" "$work/out" || fail "--png changed the chart text"

# Where clicks act: the table and its four bands.
areas() { "${chart[@]}" --png "$work/b.png" --areas "$@" 2>/dev/null | grep -E '^(table|band|linebar) '; }
areas >"$work/areas"
read -r _ left top right bottom column_width columns < <(grep '^table ' "$work/areas")
[ "$right" -eq $((width * 6 / 10)) ] || fail "table right $right for width $width"
[ "$columns" -eq 6 ] || fail "$columns columns"
[ "$column_width" -eq $((right / 6)) ] || fail "column width $column_width"
band_middle() { awk -v b="$1" '$1 == "band" && $2 == b { print int(($3 + $4) / 2) }' "$work/areas"; }
mountain_x=$((column_width + column_width / 2))  # 主 is column 0, 山 column 1
names_y=$(band_middle 2)
grep -q '^linebar ' "$work/areas" && fail "line bar shown without a selection"

# The 山 column shows the line bar; 抽1 flips the bottom line of 坤 (to 复).
areas --click "$mountain_x,$names_y" >"$work/areas2"
read -r _ bar_left bar_top bar_right bar_bottom cell < <(grep '^linebar ' "$work/areas2") ||
  fail "no line bar after selecting 山: $(cat "$work/areas2")"
bar_y=$(((bar_top + bar_bottom) / 2))
first_cell_x=$((bar_left + cell + cell / 2))
"${chart[@]}" --png "$work/c.png" --click "$mountain_x,$names_y" --click "$first_cell_x,$bar_y" >"$work/flipped" 2>/dev/null ||
  fail "flip: exit $?"
grep -q '^元辰：.*(坤抽1)$' "$work/flipped" || fail "header after 抽1: $(sed -n 5p "$work/flipped")"
"${chart[@]}" --flip 1 >"$work/flip_option"
cmp -s "$work/flipped" "$work/flip_option" || fail "clicking 抽1 differs from --flip 1"

# 原卦 restores the chart of the request.
"${chart[@]}" --png "$work/d.png" --click "$mountain_x,$names_y" --click "$first_cell_x,$bar_y" \
  --click "$((bar_left + 2)),$bar_y" >"$work/restored" 2>/dev/null || fail "restore: exit $?"
cmp -s "$work/restored" "$work/text" || fail "原卦 did not restore the chart"

# A second click on the same cell takes the selection and the line bar away.
areas --click "$mountain_x,$names_y" --click "$mountain_x,$((names_y + 1))" >"$work/areas3"
grep -q '^linebar ' "$work/areas3" && fail "line bar still shown after the second click"

# A bigger chart font makes a bigger picture; sizes outside 10..35 are refused.
"${chart[@]}" --png "$work/big.png" --font-size 20 >/dev/null 2>&1 || fail "--font-size 20: exit $?"
big_width=$(png_size "$work/big.png" width)
[ "$big_width" -gt "$width" ] && [ $((big_width % 55)) -eq 0 ] || fail "width $big_width at 20 points"
for size in 9 36 x; do
  "${chart[@]}" --png "$work/f.png" --font-size "$size" >/dev/null 2>&1
  [ $? -eq 2 ] || fail "--font-size $size: expected exit 2"
done

# Refusals: a malformed click, a file that cannot be written.
"${chart[@]}" --png "$work/e.png" --click 12 >/dev/null 2>&1
[ $? -eq 2 ] || fail "--click 12: expected exit 2"
"${chart[@]}" --png "$work/missing/e.png" >/dev/null 2>"$work/err"
[ $? -eq 1 ] || fail "unwritable --png: expected exit 1"
grep -qF "无法写入图片文件" "$work/err" || fail "unwritable --png: $(cat "$work/err")"

# --svg: the picture as vector graphics, its clicks at its own layout (fixed CJK widths: the 主
# column's stem row at 40,150 selects it, and the relation names appear).
"${chart[@]}" --svg "$work/c.svg" >"$work/svg-text" || fail "--svg: exit $?"
head -c 5 "$work/c.svg" | grep -qF "<?xml" || fail "--svg writes no SVG document"
grep -qF ">常用神煞</text>" "$work/c.svg" || fail "--svg lacks 常用神煞"
"${chart[@]}" >"$work/plain-text"
cmp -s "$work/svg-text" "$work/plain-text" || fail "--svg changed the chart text"
"${chart[@]}" --svg "$work/d.svg" --click 40,150 >/dev/null
grep -qF ">相冲</text>" "$work/d.svg" && ! grep -qF ">相冲</text>" "$work/c.svg" || fail "--click on the SVG picture"
"${chart[@]}" --svg "$work/missing/e.svg" >/dev/null 2>"$work/err"
[ $? -eq 1 ] && grep -qF "无法写入图片文件" "$work/err" || fail "unwritable --svg"

finish "chart picture CLI"
