#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# --script and the settings' script: every line in traditional Chinese of Taiwan or Hong Kong,
# the field's own words (剋, 沖, Taiwan's 洩 beside Hong Kong's 泄), every character in its place,
# and simplified Chinese without the option or with zh-Hans.
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

moment=("2024-03-05 10:00" --mountain 3 --dragon 子:1)
analysis() { grep -F "$1" "$work/$2" | head -1; }

for script in zh-Hans zh-Hant-TW zh-Hant-HK; do
  "$cli" chart "${moment[@]}" --spans --script "$script" >"$work/$script" 2>"$work/err" || fail "chart $script: exit $?"
  [ -s "$work/err" ] && fail "chart $script wrote to stderr: $(cat "$work/err")"
done
"$cli" chart "${moment[@]}" --spans >"$work/default"
cmp -s "$work/default" "$work/zh-Hans" || fail "zh-Hans is not the default output"

expect_line() {  # NAME FILE EXPECTED-LINE: the file holds the line
  grep -qxF -- "$3" "$work/$2" || fail "$1: no line '$3'"
}
expect_line "Taiwan's 公曆" zh-Hant-TW "公曆：2024年3月5日10時0分(北京時間)，星期二"
expect_line "Hong Kong's 農曆" zh-Hant-HK "農曆：二○二四年 正月 廿五日 巳時"
expect_line "Taiwan's 洩 and 剋" zh-Hant-TW "　　生剋進退：進神(日生龍)，退神(年洩龍、月耗龍、時耗龍)"
expect_line "Hong Kong's 泄 and 剋" zh-Hant-HK "　　生剋進退：進神(日生龍)，退神(年泄龍、月耗龍、時耗龍)"
expect_line "the simplified text" zh-Hans "　　生克进退：进神(日生龙)，退神(年泄龙、月耗龙、时耗龙)"

# The coloured ranges count characters: they stay where they are in every script.
for script in zh-Hant-TW zh-Hant-HK; do
  diff <(grep -E '^[0-9]+ [0-9]+ 0x' "$work/zh-Hans") <(grep -E '^[0-9]+ [0-9]+ 0x' "$work/$script") >/dev/null ||
    fail "$script moved the coloured ranges"
  [ "$(wc -m <"$work/$script")" -eq "$(wc -m <"$work/zh-Hans")" ] || fail "$script changed the text's length"
done

# Before the command name as after it; the era, the CSV and the messages too.
expect era-before "[明] 神宗 朱翊鈞 萬曆28年" --script zh-Hant-TW era 1600
expect era-after "[明] 神宗 朱翊鈞 萬曆28年" era 1600 --script=zh-Hant-HK
"$cli" search --year 2024 --pattern 一家骨肉 --csv "$work/found.csv" --script zh-Hant-TW >"$work/found" ||
  fail "search: exit $?"
[ "$(tail -n 1 "$work/found")" = "共找到2210條日課" ] || fail "search count: $(tail -n 1 "$work/found")"
head -n 1 "$work/found.csv" | grep -qF "序號,公曆日期,時間,農曆,年柱,月柱,日柱,時柱,年卦氣,年卦運" || fail "CSV header"
# Names of conditions and patterns may be typed in either script.
same_count() { "$cli" search --year 2024 "$@" | tail -n 1; }
[ "$(same_count --qi 合十 --avoid 沖山 --include 龍 --dragon 子:1)" = "共找到2782条日课" ] ||
  fail "traditional condition names are not read"
[ "$(same_count --pattern 一卦純清)" = "共找到9条日课" ] || fail "a traditional pattern name is not read"
refused_with usage-message 2 "多餘的參數：2024" search 2024 --script zh-Hant-HK
refused_with unknown-script 2 "没有这种文字：zh-Hant" era 1600 --script zh-Hant

# Without the option, the script the user chose in the settings; the option wins over it.
mkdir -p "$work/installed/bin" "$work/xdg/quorin/dat"
cp "$cli" "$work/installed/bin/quorin-cli"
printf '[set]\r\nScript=zh-Hant-HK\r\n' >"$work/xdg/quorin/dat/set.ini"
installed=(env HOME="$work" XDG_DATA_HOME="$work/xdg" "$work/installed/bin/quorin-cli")
[ "$("${installed[@]}" era 1600)" = "[明] 神宗 朱翊鈞 萬曆28年" ] || fail "the settings' script is not used"
[ "$("${installed[@]}" era 1600 --script zh-Hans)" = "[明] 神宗 朱翊钧 万历28年" ] || fail "--script does not win"

finish "scripts CLI"
