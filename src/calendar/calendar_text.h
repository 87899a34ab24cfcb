// SPDX-License-Identifier: GPL-3.0-or-later
// The words the calendar speaks: numerals, names of terms, weekdays, animals, stems and branches, eras.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "calendar/calendar_types.h"
#include "calendar/sexagenary.h"

namespace quorin::calendar {

// ○ 一 … 九
extern const std::array<std::string_view, 10> kDigitNames;
// 小寒 大寒 立春 … 大雪 冬至, the order of a year's solar-term list.
extern const std::array<std::string_view, 24> kSolarTermNames;
// 日 一 … 六, indexed by WeekDay (0 = Sunday); shown after "星期".
extern const std::array<std::string_view, 7> kWeekdayNames;
// 猪 鼠 牛 … 狗, indexed by branch number (0 = 亥, 1 = 子).
extern const std::array<std::string_view, 12> kZodiacAnimals;

// Chinese numeral: 一 … 十九, 二十, 廿一 … 廿九, 三十; otherwise digit by digit (2024 → 二○二四, −120 → 前一二○).
std::string ChineseNumeral(int n);
// "正月", "二月" … "十二月", "十三月", preceded by "闰" for an intercalary month.
std::string LunarMonthText(int month, bool leap);
// "初一" … "初十", "十一" … "二十", "廿一" … "三十".
std::string LunarDayText(int day);
// Lunar month and day as the calendar shows them, e.g. "闰二月初一".
std::string LunarDateText(int month, int day, bool leap);
// Stem and branch names of a pillar number, e.g. "甲子" for 1.
std::string PillarName(int pillar);
// The era records covering a pillar year (astronomical), joined by "；" in table order;
// empty before the first era.
std::string EraText(int pillarYear);

}  // namespace quorin::calendar
