// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/month_page.h"

#include <gtest/gtest.h>

#include "calendar/calendar_text.h"
#include "calendar/yi_date_ex.h"

namespace quorin::calendar {
namespace {

CivilDateTime Moment(int year, int month, int day, int hour = 12, int minute = 0) {
  return {static_cast<std::int16_t>(year), static_cast<std::int16_t>(month), static_cast<std::int16_t>(day),
          static_cast<std::int16_t>(hour), static_cast<std::int16_t>(minute)};
}

// Lunar texts and term names of the grid agree with the calendar core, also where the page
// converts years (1 BC) and days (October 1582).
TEST(MonthPage, GridAgreesWithTheCalendarCore) {
  struct Case {
    const char* name;
    int year;  // astronomical
    int month;
    int length;
    int firstColumn;
  };
  const Case cases[] = {
      {"December of 1 BC", 0, 12, 31, 2},     {"January of AD 1", 1, 1, 31, 5},
      {"October 1582", 1582, 10, 21, 0},      {"leap second month 2023", 2023, 3, 31, 2},
      {"Sunday start 2023", 2023, 10, 31, 6}, {"leap first month 2262", 2262, 2, 28, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MYiDateEx date;
    EXPECT_EQ(MonthLength(date, Moment(c.year, c.month, 1)), c.length);
    EXPECT_EQ(FirstColumn(date, c.year, c.month), c.firstColumn);
    const auto yearTerms = date.SolarTermsOfYear(c.year);
    const auto monthTerms = TermsOfMonth(yearTerms, c.month);
    const auto cells = MonthCells(date, c.year, c.month, c.length, c.firstColumn, monthTerms);
    ASSERT_EQ(static_cast<int>(cells.size()), c.length);
    MYiDateEx core;
    for (const MonthDayCell& cell : cells) {
      CivilDateTime lunar;
      const bool leap = core.SolarToLunar(Moment(c.year, c.month, cell.day), lunar);
      EXPECT_EQ(cell.lunar, LunarDateText(lunar.month, lunar.day, leap)) << cell.day;
      EXPECT_TRUE(core.IsValidDate(Moment(c.year, c.month, cell.day))) << cell.day;
      std::string term;
      for (const auto& t : yearTerms) {
        if (t.year == c.year && t.month == c.month && t.day == cell.day) term = kSolarTermNames[t.termIndex];
      }
      EXPECT_EQ(cell.term, term) << cell.day;
    }
    EXPECT_EQ(cells.front().number, std::to_string(c.month) + "月");
    EXPECT_EQ(cells.back().row, 1 + (c.firstColumn + c.length - 1) / 7);
  }
}

TEST(MonthPage, LeapMonthsReadWithTheirMark) {
  MYiDateEx date;
  const auto march2023 = MonthCells(date, 2023, 3, 31, 2, {});
  EXPECT_EQ(march2023[21].lunar, "闰二月初一");
  const auto february2262 = MonthCells(date, 2262, 2, 28, 5, {});
  EXPECT_EQ(february2262[19].lunar, "闰正月初一");
  EXPECT_EQ(february2262[20].lunar, "闰正月初二");
  // The grid reads each day at noon, whatever hour is selected: 2024-02-10 was 正月初一.
  EXPECT_EQ(MonthCells(date, 2024, 2, 29, 3, {})[9].lunar, "正月初一");
}

// The pillar year turns at 立春, not on 1 January; 11 pm already has the next day's pillar.
TEST(MonthPage, PillarTextsOfTheSelectedMoment) {
  struct Case {
    CivilDateTime selected;  // astronomical year
    const char* monthLabel;
    const char* title;
    const char* pillars;
  };
  const Case cases[] = {
      {Moment(2024, 2, 10), "2024年2月", "[当代] 中国  公历纪元2024年  【龙年】", "甲辰年\n丙寅月\n甲辰日\n庚午时"},
      {Moment(2024, 2, 10, 23, 0), "2024年2月", "[当代] 中国  公历纪元2024年  【龙年】",
       "甲辰年\n丙寅月\n乙巳日\n丙子时"},
      {Moment(0, 12, 1), "-1年12月", "[西汉] 哀帝 刘欣 元寿2年  【猴年】", "庚申年\n丁亥月\n"},
      {Moment(1, 1, 1), "1年1月", "[西汉] 哀帝 刘欣 元寿2年  【猴年】", "庚申年\n"},
      {Moment(1582, 10, 15), "1582年10月", nullptr, "壬午年\n庚戌月\n甲戌日\n庚午时"},
  };
  MYiDateEx date;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.monthLabel);
    const PillarTexts texts = PillarTextsOf(date, c.selected);
    EXPECT_EQ(texts.monthLabel, c.monthLabel);
    if (c.title != nullptr) {
      EXPECT_EQ(texts.title, c.title);
    }
    EXPECT_EQ(texts.pillars.substr(0, std::string(c.pillars).size()), c.pillars);
  }
}

TEST(MonthPage, NeighbourMonthsSkipYearZeroAndStopAtTheEnds) {
  struct Case {
    int year, month, step;
    std::optional<HistoricalMonth> expected;
  };
  const Case cases[] = {
      {2024, 5, 1, HistoricalMonth{2024, 6}},
      {2024, 5, -1, HistoricalMonth{2024, 4}},
      {2024, 12, 1, HistoricalMonth{2025, 1}},
      {2024, 1, -1, HistoricalMonth{2023, 12}},
      {-1, 12, 1, HistoricalMonth{1, 1}},
      {1, 1, -1, HistoricalMonth{-1, 12}},
      {-4713, 2, -1, HistoricalMonth{-4713, 1}},
      {-4713, 1, -1, std::nullopt},
      {9999, 12, 1, std::nullopt},
      {9999, 12, -1, HistoricalMonth{9999, 11}},
  };
  for (const Case& c : cases) {
    const auto next = NeighbourMonth(c.year, c.month, c.step);
    ASSERT_EQ(next.has_value(), c.expected.has_value()) << c.year << "-" << c.month << " " << c.step;
    if (next) {
      EXPECT_EQ(next->year, c.expected->year) << c.year << "-" << c.month << " " << c.step;
      EXPECT_EQ(next->month, c.expected->month) << c.year << "-" << c.month << " " << c.step;
    }
  }
}

TEST(MonthPage, PageOpensOnTheFifteenthWhenTheMonthLacksTheDay) {
  MYiDateEx date;
  EXPECT_EQ(OpeningDay(date, Moment(1582, 10, 4)), 4);
  EXPECT_EQ(OpeningDay(date, Moment(1582, 10, 5)), 15);
  EXPECT_EQ(OpeningDay(date, Moment(1582, 10, 14)), 15);
  EXPECT_EQ(OpeningDay(date, Moment(1582, 10, 31)), 31);
  EXPECT_EQ(OpeningDay(date, Moment(2023, 2, 29)), 15);
  EXPECT_EQ(OpeningDay(date, Moment(2024, 2, 29)), 29);
}

}  // namespace
}  // namespace quorin::calendar
