// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/lunar_calendar.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calendar/correction_texts.h"
#include "calendar/julian_day.h"

namespace quorin::calendar {
namespace {

int DayNumber(int year, int month, int day) {
  return static_cast<int>(std::floor(JulianDayFromDate(year, month, day + 0.5)) - 2451545);
}

TEST(LunarCalendar, KnownLunarDates) {
  struct Case {
    int year, month, day;
    LunarDate expected;
  };
  const Case cases[] = {
      {2024, 2, 10, {2024, 1, 1, false}},  {2024, 2, 9, {2023, 12, 30, false}},
      {2023, 3, 22, {2023, 2, 1, true}},   {2023, 4, 20, {2023, 3, 1, false}},
      {2033, 12, 22, {2033, 11, 1, true}}, {2034, 1, 20, {2033, 12, 1, false}},
      {2034, 2, 19, {2034, 1, 1, false}},  {1900, 1, 31, {1900, 1, 1, false}},
      {2000, 2, 5, {2000, 1, 1, false}},   {2000, 12, 22, {2000, 11, 27, false}},
  };
  LunarCalendar calendar;
  for (const Case& c : cases) {
    EXPECT_EQ(calendar.LunarDateOfDay(DayNumber(c.year, c.month, c.day)), c.expected)
        << c.year << "-" << c.month << "-" << c.day;
  }
}

TEST(LunarCalendar, LeapSecondMonthOf2023StartsOnMarch22) {
  LunarCalendar calendar;
  const LunarYear& y = calendar.ComputeLunarYear(DayNumber(2023, 7, 1));
  EXPECT_EQ(y.leap, 4);
  EXPECT_EQ(y.newMoons[4], DayNumber(2023, 3, 22));
  EXPECT_EQ(y.months[3], 2);
  EXPECT_EQ(y.months[4], 2);
  EXPECT_EQ(y.terms[0], DayNumber(2022, 12, 22));
  EXPECT_EQ(y.terms[24], DayNumber(2023, 12, 22));
  for (int i = 0; i < 14; ++i) EXPECT_EQ(y.lengths[i], y.newMoons[i + 1] - y.newMoons[i]);
}

TEST(LunarCalendar, DaysAroundTheSolsticeBelongToTheRightYear) {
  LunarCalendar calendar;
  // The solstice of 2023 is on 12-22: the day before is served by the previous solstice's year.
  const int solstice = DayNumber(2023, 12, 22);
  EXPECT_EQ(calendar.ComputeLunarYear(solstice).terms[0], solstice);
  EXPECT_EQ(calendar.ComputeLunarYear(solstice - 1).terms[24], solstice);
  // Between the solstice and the next new moon the day still lies in a month of the solstice's year.
  EXPECT_EQ(calendar.LunarDateOfDay(solstice + 1), (LunarDate{2023, 11, 11, false}));
}

TEST(LunarCalendar, NewMoonOfMinus103IsPutOnJanuary24) {
  LunarCalendar calendar;
  EXPECT_EQ(calendar.TermDay(DayNumber(-103, 1, 24), TermKind::NewMoon), DayNumber(-103, 1, 24));
  EXPECT_EQ(calendar.LunarDateOfDay(DayNumber(-103, 1, 24)).day, 1);
}

TEST(LunarCalendar, WuZhouYearsHaveTwoFirstMonths) {
  LunarCalendar calendar;
  const LunarYear& y = calendar.ComputeLunarYear(DayNumber(690, 7, 1));
  EXPECT_EQ(y.months[0], 1);  // the 子 month
  EXPECT_EQ(y.months[1], 12);
  EXPECT_EQ(y.months[2], 1);  // the 寅 month keeps the number 1
  EXPECT_EQ(y.months[12], 1);
  // The year number follows the later 正月 once it has begun.
  EXPECT_EQ(calendar.LunarDateOfDay(DayNumber(690, 12, 10)), (LunarDate{691, 1, 5, false}));
  EXPECT_EQ(calendar.LunarDateOfDay(DayNumber(690, 1, 17)), (LunarDate{689, 12, 2, false}));
}

TEST(LunarCalendar, PreTaichuYearsCountFromTheTenthMonth) {
  LunarCalendar calendar;
  // Under the last old calendar the year runs 10, 11, 12, 1 … 9, and a thirteenth month is another 10.
  int repeatedTenths = 0;
  for (int year = -200; year <= -110; ++year) {
    const LunarYear& y = calendar.ComputeLunarYear(DayNumber(year, 7, 1));
    EXPECT_EQ(y.leap, 0) << year;
    for (int i = 1; i < 14; ++i) {
      const int previous = y.months[i - 1];
      const int current = y.months[i];
      const bool repeatedTenth = previous == 10 && current == 10;
      repeatedTenths += repeatedTenth ? 1 : 0;
      EXPECT_TRUE(current == previous % 12 + 1 || repeatedTenth) << year << " month " << i << ": " << previous
                                                                 << "→" << current;
    }
  }
  EXPECT_GT(repeatedTenths, 20);
}

TEST(LunarCalendar, EveryMonthHas29Or30DaysOutsideTheCalendarReforms) {
  // The corrected span 619–1959 above all: there the day corrections must meet the computed days.
  LunarCalendar calendar;
  int lastNewMoon = DayNumber(-4712, 1, 1);
  for (int day = DayNumber(-4700, 1, 1); day < DayNumber(9999, 1, 1); day += 200) {
    const LunarYear& y = calendar.ComputeLunarYear(day);
    for (int i = 0; i < 14; ++i) {
      if (y.newMoons[i] <= lastNewMoon) continue;
      lastNewMoon = y.newMoons[i];
      if (y.newMoons[i] == DayNumber(237, 1, 15)) continue;  // the 景初 reform shortened one month
      ASSERT_TRUE(y.lengths[i] == 29 || y.lengths[i] == 30)
          << "month from day " << y.newMoons[i] << " has " << y.lengths[i] << " days";
    }
  }
}

TEST(LunarCalendar, CorrectionsAtTheSecondsPastMidnightNewMoons) {
  LunarCalendar calendar;
  // These new moons fall seconds from a civil midnight; the official calendar's days are kept.
  EXPECT_EQ(calendar.LunarDateOfDay(DayNumber(649, 1, 19)), (LunarDate{648, 12, 1, true}));
  EXPECT_EQ(calendar.LunarDateOfDay(DayNumber(649, 1, 18)), (LunarDate{648, 12, 30, false}));
  EXPECT_EQ(calendar.LunarDateOfDay(DayNumber(823, 11, 7)), (LunarDate{823, 10, 1, false}));
  EXPECT_EQ(calendar.LunarDateOfDay(DayNumber(1007, 8, 16)), (LunarDate{1007, 7, 1, false}));
  EXPECT_EQ(calendar.LunarDateOfDay(DayNumber(1007, 8, 15)).day, 30);
}

TEST(LunarCalendar, CorrectionTextsExpandToTheirLengths) {
  EXPECT_EQ(ExpandCorrections(kNewMoonCorrections).size(), 16598u);
  EXPECT_EQ(ExpandCorrections(kSolarTermCorrections).size(), 7567u);
  EXPECT_EQ(ExpandCorrections("J1tkhaF"), "001" "02" "01" "001001" "0000000001" + std::string(10, '0'));
  EXPECT_EQ(ExpandCorrections("AG2"), std::string(65, '0') + "2");
  EXPECT_EQ(ExpandedCorrections().newMoons.find_first_not_of("012"), std::string::npos);
}

TEST(LunarCalendar, RememberedYearsEqualFreshComputation) {
  LunarCalendar reused;
  for (int day = DayNumber(1580, 1, 1); day < DayNumber(1590, 1, 1); day += 11) {
    const LunarDate remembered = reused.LunarDateOfDay(day);
    LunarCalendar fresh;
    ASSERT_EQ(remembered, fresh.LunarDateOfDay(day)) << day;
    ASSERT_EQ(reused.CurrentYear(), fresh.CurrentYear()) << day;
  }
}

}  // namespace
}  // namespace quorin::calendar
