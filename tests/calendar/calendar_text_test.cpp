// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/calendar_text.h"

#include <gtest/gtest.h>

#include "base/gbk.h"
#include "calendar/era_table.h"
#include "calendar/yi_date_ex.h"

namespace quorin::calendar {
namespace {

TEST(CalendarText, ChineseNumerals) {
  const std::pair<int, const char*> cases[] = {
      {1, "一"},    {10, "十"},      {15, "十五"},     {20, "二十"},       {21, "廿一"},       {29, "廿九"},
      {30, "三十"}, {31, "三一"},    {35, "三五"},     {100, "一○○"},      {0, "○○○○"},        {-5, "前五"},
      {-120, "前一二○"}, {2024, "二○二四"}, {-15, "前一五"}, {9999, "九九九九"},
  };
  for (const auto& [n, text] : cases) {
    EXPECT_EQ(ChineseNumeral(n), text) << n;
    EXPECT_EQ(MYiDateEx::ChineseNumeral(n), text) << n;
  }
}

TEST(CalendarText, LunarMonthAndDayTexts) {
  EXPECT_EQ(LunarDayText(1), "初一");
  EXPECT_EQ(LunarDayText(10), "初十");
  EXPECT_EQ(LunarDayText(11), "十一");
  EXPECT_EQ(LunarDayText(20), "二十");
  EXPECT_EQ(LunarDayText(30), "三十");
  EXPECT_EQ(LunarMonthText(1, false), "正月");
  EXPECT_EQ(LunarMonthText(1, true), "闰正月");
  EXPECT_EQ(LunarMonthText(11, false), "十一月");
  EXPECT_EQ(LunarMonthText(13, false), "十三月");
  EXPECT_EQ(LunarDateText(2, 1, true), "闰二月初一");
  EXPECT_EQ(PillarName(1), "甲子");
  EXPECT_EQ(PillarName(0), "癸亥");
  EXPECT_EQ(PillarName(17), "庚辰");
}

TEST(CalendarText, EraTexts) {
  EXPECT_EQ(EraText(1740), "[清] 高宗 弘历 乾隆5年");
  EXPECT_EQ(EraText(2024), "[当代] 中国  公历纪元2024年");
  EXPECT_EQ(EraText(560),
            "[南朝/陈] 文帝 陈蒨 天嘉1年；[南朝/后梁] 宣帝 萧詧 大定6年；[北朝/北齐] 废帝 高殷 乾明1年；"
            "[北朝/北齐] 孝昭帝 高演 皇建1年；[北朝/北周] 明帝 宇文毓 武成2年");
  EXPECT_TRUE(EraText(905).ends_with("天佑2年"));
  const std::string y1271 = EraText(1271);
  EXPECT_NE(y1271.find("咸淳7年"), std::string::npos);
  EXPECT_NE(y1271.find("[元] 世祖"), std::string::npos);
  EXPECT_TRUE(y1271.ends_with("至元8年"));
  const std::string y1279 = EraText(1279);
  EXPECT_NE(y1279.find("[南宋]"), std::string::npos);
  EXPECT_NE(y1279.find("[元]"), std::string::npos);
  EXPECT_EQ(EraText(-2070), "");
  EXPECT_EQ(EraText(-2069), "[夏] 禹  禹1年");
}

TEST(CalendarText, EraTableCoversEveryYearWithinItsLimits) {
  const auto records = EraRecords();
  ASSERT_EQ(records.size(), 529u);
  EXPECT_EQ(records.back().start, 1949);
  EXPECT_EQ(records.back().base, 1948);
  for (int year = -2069; year <= 9999; ++year) ASSERT_FALSE(EraText(year).empty()) << year;
  for (const EraRecord& r : records) {
    EXPECT_LE(base::GbkByteLength(r.dynasty), 10);
    EXPECT_LE(base::GbkByteLength(r.ruler), 10);
    EXPECT_LE(base::GbkByteLength(r.person), 30);
    EXPECT_LE(base::GbkByteLength(r.era), 10);
  }
}

TEST(CalendarText, NameTables) {
  EXPECT_EQ(kSolarTermNames[0], "小寒");
  EXPECT_EQ(kSolarTermNames[2], "立春");
  EXPECT_EQ(kSolarTermNames[23], "冬至");
  EXPECT_EQ(kZodiacAnimals[1], "鼠");
  EXPECT_EQ(kZodiacAnimals[0], "猪");
  EXPECT_EQ(kWeekdayNames[0], "日");
}

}  // namespace
}  // namespace quorin::calendar
