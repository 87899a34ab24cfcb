// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/calendar_text.h"

#include <cstdlib>

#include "calendar/era_table.h"

namespace quorin::calendar {

const std::array<std::string_view, 10> kDigitNames{"○", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
const std::array<std::string_view, 24> kSolarTermNames{
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};
const std::array<std::string_view, 7> kWeekdayNames{"日", "一", "二", "三", "四", "五", "六"};
const std::array<std::string_view, 12> kZodiacAnimals{"猪", "鼠", "牛", "虎", "兔", "龙",
                                                      "蛇", "马", "羊", "猴", "鸡", "狗"};

std::string ChineseNumeral(int n) {
  if (n >= 1 && n <= 9) return std::string(kDigitNames[n]);
  if (n >= 11 && n <= 19) return "十" + std::string(kDigitNames[n % 10]);
  if (n >= 21 && n <= 29) return "廿" + std::string(kDigitNames[n % 10]);
  if (n == 10) return "十";
  if (n == 20) return "二十";
  if (n == 30) return "三十";
  // Otherwise digit by digit, as years are read; zero is written with four digits like a year.
  std::string text = n < 0 ? "前" : "";
  const long long magnitude = std::llabs(static_cast<long long>(n));
  std::string digits = std::to_string(magnitude);
  if (magnitude == 0) digits = "0000";
  for (const char d : digits) text += kDigitNames[d - '0'];
  return text;
}

std::string LunarMonthText(int month, bool leap) {
  std::string text = leap ? "闰" : "";
  text += month == 1 ? "正月" : ChineseNumeral(month) + "月";
  return text;
}

std::string LunarDayText(int day) { return day <= 10 ? "初" + ChineseNumeral(day) : ChineseNumeral(day); }

std::string LunarDateText(int month, int day, bool leap) { return LunarMonthText(month, leap) + LunarDayText(day); }

std::string PillarName(int pillar) { return Jiazi(pillar).Name(); }

std::string EraText(int pillarYear) {
  std::string text;
  for (const EraRecord& r : EraRecords()) {
    if (pillarYear < r.start || pillarYear >= r.start + r.count) continue;
    if (!text.empty()) text += "；";
    text += "[" + std::string(r.dynasty) + "] " + std::string(r.ruler) + " " + std::string(r.person) + " ";
    text += std::string(r.era) + std::to_string(pillarYear - r.start + r.base + 1) + "年";
  }
  return text;
}

}  // namespace quorin::calendar
