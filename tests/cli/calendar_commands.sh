#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end checks of the calendar commands: lunar, solar, lunar-year, terms, pillars, era.
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

expect lunar-leap "2023 2 1 1 闰二月初一" lunar 2023-03-22
expect lunar-new-year "2024 1 1 0 正月初一" lunar 2024-02-10
expect lunar-last-day "2023 12 30 0 十二月三十" lunar 2024-02-09
expect lunar-1900 "1900 1 1 0 正月初一" lunar 1900-01-31
expect lunar-bc "-105 12 1 0 十二月初一" lunar -104-01-24
refused lunar-no-day "不存在这个日期" lunar 1582-10-10
refused lunar-year-zero "年份在-4713 到 9999年之间，并且没有公元0年" lunar 0-03-01

expect solar-leap "2023-03-22" solar 2023 2 1 1
expect solar-plain "2023-02-20" solar 2023 2 1
expect solar-bc "-104-01-24" solar -105 12 1
refused solar-missing-leap "不存在这个农历日期，无法转换到公历！" solar 2024 2 1 1
refused solar-day-30 "不存在这个农历日期，无法转换到公历！" solar 2024 1 30
refused solar-past-9999 "时间越界，年份在-4713到9999之间" solar 9999 12 20

expect lunar-year-2023 "2022-11-24 11 0 29
2022-12-23 12 0 30
2023-01-22 1 0 29
2023-02-20 2 0 30
2023-03-22 2 1 29
2023-04-20 3 0 29
2023-05-19 4 0 30
2023-06-18 5 0 30
2023-07-18 6 0 29
2023-08-16 7 0 30
2023-09-15 8 0 30
2023-10-15 9 0 29
2023-11-13 10 0 30
2023-12-13 11 0 29" lunar-year 2023

terms="$("$cli" terms 2024)"
[[ "$(echo "$terms" | wc -l)" -eq 24 ]] || fail terms-count
[[ "$(echo "$terms" | head -1)" == "0 小寒 2024-01-06 04:49" ]] || fail terms-first
[[ "$(echo "$terms" | sed -n 3p)" == "2 立春 2024-02-04 16:27" ]] || fail terms-spring
[[ "$(echo "$terms" | tail -1)" == "23 冬至 2024-12-21 17:20" ]] || fail terms-last

expect pillars-before-spring "己卯 丁丑 壬辰 庚戌 16 14 29 47
2000-02-04 20:39
1999 12 29 0 十二月廿九" pillars "2000-02-04 20:39"
expect pillars-spring-minute "庚辰 己丑 壬辰 庚戌 17 26 29 47
2000-02-04 20:40
1999 12 29 0 十二月廿九" pillars "2000-02-04 20:40"
expect pillars-after-spring "庚辰 戊寅 壬辰 庚戌 17 15 29 47
2000-02-04 20:41
1999 12 29 0 十二月廿九" pillars "2000-02-04 20:41"
expect pillars-zi-hour "甲辰 丙寅 乙巳 丙子 41 3 42 13
2024-02-10 23:30
2024 1 2 0 正月初二" pillars "2024-02-10 23:30"
expect pillars-local-mean-90 "甲辰 己巳 丙申 癸巳 41 6 33 30
2024-06-01 10:00
2024 4 25 0 四月廿五" pillars "2024-06-01 12:00" --mode 2 --lon 90
expect pillars-lunar-leap "癸卯 乙卯 己卯 戊辰 40 52 16 5
2023-03-22 08:00
2023 2 1 1 闰二月初一" pillars "2023-02-01 08:00" --lunar --leap
refused pillars-no-day "不存在这个日期" pillars "2023-02-29 12:00"
refused pillars-no-leap "不存在这个农历日期，无法转换到公历！" pillars "2024-02-01 12:00" --lunar --leap

expect era-1740 "[清] 高宗 弘历 乾隆5年" era 1740
expect era-2024 "[当代] 中国  公历纪元2024年" era 2024
expect era-before-xia "" era -2071
expect era-first "[夏] 禹  禹1年" era -2070
refused era-zero "年份在-4713 到 9999年之间，并且没有公元0年" era 0

"$cli" lunar 2023-3 >/dev/null 2>&1
[[ $? -eq 2 ]] || fail "usage exit code"

finish "calendar CLI"
