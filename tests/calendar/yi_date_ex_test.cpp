// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/yi_date_ex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "calendar/calendar_text.h"
#include "calendar/julian_day.h"

namespace quorin::calendar {
namespace {

CivilDateTime At(int y, int m, int d, int h = 12, int min = 0) {
  return {static_cast<std::int16_t>(y), static_cast<std::int16_t>(m), static_cast<std::int16_t>(d),
          static_cast<std::int16_t>(h), static_cast<std::int16_t>(min)};
}

FourPillars PillarsOf(MYiDateEx& date, const CivilDateTime& moment, TimeCorrectionMode mode = {},
                      float longitude = 120, PreparedMoment* prepared = nullptr) {
  MomentInput in;
  in.entered = moment;
  in.mode = mode;
  in.longitude = longitude;
  PreparedMoment p;
  EXPECT_TRUE(date.PrepareMoment(in, p).ok);
  if (prepared) *prepared = p;
  return date.ComputeFourPillars(p);
}

TEST(MYiDateEx, ValidDates) {
  struct Case {
    CivilDateTime date;
    bool valid;
  };
  MYiDateEx date;
  for (const Case& c : {Case{At(1582, 10, 10), false}, Case{At(1582, 10, 4), true}, Case{At(1582, 10, 15), true},
                        Case{At(1582, 10, 31), true}, Case{At(2023, 2, 29), false}, Case{At(2024, 2, 29), true},
                        Case{At(1900, 2, 29), false}, Case{At(1500, 2, 29), true}, Case{At(2024, 4, 31), false},
                        Case{At(2024, 13, 1), false}, Case{At(2024, 1, 0), false},
                        // Far from J2000 the month length must be rounded, not floored.
                        Case{At(-4672, 9, 30), true}, Case{At(-4537, 4, 30), true}, Case{At(-1846, 9, 30), true}}) {
    EXPECT_EQ(date.IsValidDate(c.date), c.valid) << c.date.year << "-" << c.date.month << "-" << c.date.day;
  }
}

TEST(MYiDateEx, DayPillarsOfKnownDays) {
  struct Case {
    CivilDateTime day;
    const char* pillar;
  };
  const MYiDateEx date;
  for (const Case& c : {Case{At(1949, 10, 1), "甲子"}, Case{At(2000, 1, 1), "戊午"},
                        Case{At(2024, 2, 10), "甲辰"},  // 春节 of the 甲辰 year
                        // Julian day number 0 lies 2433191 ≡ 11 (mod 60) days before the 甲子 of 1949-10-01.
                        Case{At(-4712, 1, 1), "癸丑"}}) {
    EXPECT_EQ(date.DayPillar(c.day).Name(), c.pillar) << c.day.year << "-" << c.day.month << "-" << c.day.day;
  }
  // The calendar reform dropped ten dates, not ten days: the cycle runs on.
  EXPECT_EQ(date.DayPillar(At(1582, 10, 15)), Jiazi(date.DayPillar(At(1582, 10, 4)).Number() + 1));
}

TEST(MYiDateEx, WeekDayAndNextDay) {
  MYiDateEx date;
  EXPECT_EQ(date.WeekDay(At(2024, 2, 10)), 6);
  EXPECT_EQ(date.WeekDay(At(1582, 10, 15)), 5);
  EXPECT_EQ(date.WeekDay(At(1582, 10, 4)), 4);
  CivilDateTime x = At(1582, 10, 4, 23, 59);
  date.NextDay(x);
  EXPECT_EQ(x, At(1582, 10, 15, 23, 59));
  x = At(2024, 12, 31, 7, 5);
  date.NextDay(x);
  EXPECT_EQ(x, At(2025, 1, 1, 7, 5));
}

TEST(MYiDateEx, LunarToSolarAndItsFailures) {
  MYiDateEx date;
  CivilDateTime solar;
  ASSERT_TRUE(date.LunarToSolar(At(2023, 2, 1, 9, 30), true, solar).ok);
  EXPECT_EQ(solar, At(2023, 3, 22, 9, 30));
  ASSERT_TRUE(date.LunarToSolar(At(2023, 2, 1), false, solar).ok);
  EXPECT_EQ(solar, At(2023, 2, 20));
  // A 武周 腊月 after the new year's 正月 lies the other way from its first guess.
  ASSERT_TRUE(date.LunarToSolar(At(692, 12, 17), false, solar).ok);
  EXPECT_EQ(solar, At(693, 1, 28));
  for (const auto& [lunar, leap] : {std::pair{At(2024, 2, 1), true}, std::pair{At(2024, 1, 30), false},
                                    std::pair{At(2024, 13, 1), false}, std::pair{At(2024, 5, 0), false}}) {
    const Outcome o = date.LunarToSolar(lunar, leap, solar);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, "不存在这个农历日期，无法转换到公历！");
  }
}

TEST(MYiDateEx, EveryDayFrom1900To2100ConvertsToLunarAndBack) {
  MYiDateEx date;
  const double first = JulianDayFromDate(1900, 1, 1.5);
  const double last = JulianDayFromDate(2100, 12, 31.5);
  for (double jd = first; jd <= last; jd += 1) {
    const CivilDateTime solar = DateFromJulianDayToMinute(jd);
    CivilDateTime lunar;
    const bool leap = date.SolarToLunar(solar, lunar);
    CivilDateTime back;
    ASSERT_TRUE(date.LunarToSolar(lunar, leap, back).ok) << jd;
    ASSERT_EQ(back, solar) << jd;
  }
}

TEST(MYiDateEx, WholeSpanConvertsBothWaysWithoutFailure) {
  MYiDateEx date;
  for (int year = -4712; year <= 9999; year += 23) {
    for (int month = 1; month <= 12; month += 5) {
      const CivilDateTime solar = At(year, month, 28);
      CivilDateTime lunar;
      const bool leap = date.SolarToLunar(solar, lunar);
      ASSERT_TRUE(lunar.day >= 1 && lunar.day <= 30 && lunar.month >= 1 && lunar.month <= 13) << year;
      CivilDateTime back;
      ASSERT_TRUE(date.LunarToSolar(lunar, leap, back).ok) << year << "-" << month;
      // Old calendars repeat some month numbers within a year; the first match wins, a year earlier at most.
      const double gap = std::abs(date.ToJulianDay(back) - date.ToJulianDay(solar));
      ASSERT_TRUE(gap < 0.5 || std::abs(gap - 30 * std::round(gap / 30)) < 2) << year << "-" << month;
    }
  }
}

TEST(MYiDateEx, SolarTermsOf2024) {
  MYiDateEx date;
  const std::vector<SolarTermRecord> terms = date.SolarTermsOfYear(2024);
  ASSERT_EQ(terms.size(), 25u);
  EXPECT_EQ(terms.front(), (SolarTermRecord{2024, 1, 6, 4, 49, 0}));
  EXPECT_EQ(terms[2], (SolarTermRecord{2024, 2, 4, 16, 27, 2}));
  EXPECT_EQ(terms[23], (SolarTermRecord{2024, 12, 21, 17, 20, 23}));
  EXPECT_EQ(terms.back().year, kSolarTermListEnd);
  for (int i = 0; i < 24; ++i) EXPECT_EQ(terms[i].termIndex, i);
  // Far years start elsewhere in the cycle (the Julian calendar drifts); 1582 lost ten days and one term.
  for (const auto& [year, count, firstIndex] :
       {std::tuple{-4712, 24u, 22}, std::tuple{-104, 24u, 0}, std::tuple{1582, 23u, 1}, std::tuple{9999, 24u, 1}}) {
    const std::vector<SolarTermRecord> list = date.SolarTermsOfYear(year);
    ASSERT_EQ(list.size(), count + 1) << year;
    EXPECT_EQ(list.front().termIndex, firstIndex) << year;
    for (std::size_t i = 1; i + 1 < list.size(); ++i) {
      EXPECT_EQ(list[i].termIndex, (list[i - 1].termIndex + 1) % 24) << year;
      EXPECT_EQ(list[i].year, year);
    }
  }
}

TEST(MYiDateEx, SolarTermMomentAndMonthBracket) {
  MYiDateEx date;
  EXPECT_EQ(date.SolarTermMoment(2000, 2, true), At(2000, 2, 4, 20, 40));
  EXPECT_EQ(date.SolarTermMoment(2024, 12, false), At(2024, 12, 21, 17, 20));
  const TermBracket b = date.MonthTermBracket(At(2024, 2, 20));
  EXPECT_EQ(b.monthBranch, 3);
  EXPECT_EQ(b.openingTerm, At(2024, 2, 4, 16, 27));
  EXPECT_EQ(b.principalTerm, At(2024, 2, 19, 12, 13));
  EXPECT_EQ(b.nextTerm, At(2024, 3, 5, 10, 22));
  EXPECT_EQ(date.MonthTermBracket(At(2024, 1, 10)).monthBranch, 2);
  EXPECT_EQ(date.MonthTermBracket(At(2024, 12, 25)).monthBranch, 1);
  EXPECT_EQ(date.MonthTermBracket(At(2024, 1, 2)).monthBranch, 1);
}

TEST(MYiDateEx, YearAndMonthPillarsTurnAtSpringBeginning) {
  MYiDateEx date;
  struct Case {
    CivilDateTime moment;
    int year, month;
  };
  for (const Case& c : {Case{At(2000, 2, 4, 20, 39), 16, 14}, Case{At(2000, 2, 4, 20, 40), 17, 26},
                        Case{At(2000, 2, 4, 20, 41), 17, 15}, Case{At(1984, 3, 1), 1, 3}, Case{At(1984, 3, 10), 1, 4}}) {
    const FourPillars p = PillarsOf(date, c.moment);
    EXPECT_EQ(p.year, c.year) << c.moment.day << " " << c.moment.minute;
    EXPECT_EQ(p.month, c.month) << c.moment.day << " " << c.moment.minute;
  }
}

TEST(MYiDateEx, ZiHourFrom2300BelongsToTheNextDay) {
  MYiDateEx date;
  PreparedMoment prepared;
  // 2024-02-10 is a 甲辰 day, so its 23:30 is the 子 hour of the 乙巳 day; 乙 days begin with 丙子.
  const FourPillars late = PillarsOf(date, At(2024, 2, 10, 23, 30), {}, 120, &prepared);
  EXPECT_EQ(PillarName(late.day), "乙巳");
  EXPECT_EQ(PillarName(late.hour), "丙子");
  EXPECT_EQ(prepared.lunarDate, At(2024, 1, 2, 23, 30));
  // A minute earlier it is still the 甲辰 day; its 亥 hour is the twelfth after 甲子: 乙亥.
  const FourPillars before = PillarsOf(date, At(2024, 2, 10, 22, 59), {}, 120, &prepared);
  EXPECT_EQ(PillarName(before.day), "甲辰");
  EXPECT_EQ(PillarName(before.hour), "乙亥");
  EXPECT_EQ(prepared.lunarDate, At(2024, 1, 1, 22, 59));
  // 甲 days begin with 甲子: 1949-10-01 is 甲子, so 1949-09-30 23:00 is 甲子 day, 甲子 hour.
  const FourPillars ziOfJia = PillarsOf(date, At(1949, 9, 30, 23, 0));
  EXPECT_EQ(ziOfJia.day, 1);
  EXPECT_EQ(ziOfJia.hour, 1);
}

TEST(MYiDateEx, TimeCorrectionModes) {
  MYiDateEx date;
  PreparedMoment prepared;
  PillarsOf(date, At(2024, 6, 1, 12, 0), TimeCorrectionMode::LocalMeanTime, 90, &prepared);
  EXPECT_EQ(prepared.correctedDate, At(2024, 6, 1, 10, 0));
  EXPECT_EQ(prepared.beijingDate, At(2024, 6, 1, 12, 0));
  PillarsOf(date, At(2024, 6, 1, 12, 0), TimeCorrectionMode::LocalMeanTime, 135, &prepared);
  EXPECT_EQ(prepared.correctedDate, At(2024, 6, 1, 13, 0));
  // True solar time at 120°E moves only by the equation of time (+16 min 26 s on 3 November).
  CivilDateTime x = At(2024, 11, 3, 12, 0);
  const int e = date.ApplyTimeCorrection(x, 120, TimeCorrectionMode::TrueSolarTime);
  EXPECT_EQ(e, static_cast<int>(std::trunc(date.EquationOfTimeSeconds(At(2024, 11, 3, 12, 0)))));
  EXPECT_EQ(x, At(2024, 11, 3, 12, 16));
  // A correction past 23:00 moves the day and hour pillars and the lunar date, not the year and month.
  const FourPillars shifted = PillarsOf(date, At(2024, 2, 10, 22, 30), TimeCorrectionMode::LocalMeanTime, 135, &prepared);
  EXPECT_EQ(prepared.correctedDate, At(2024, 2, 10, 23, 30));
  EXPECT_EQ(PillarName(shifted.day), "乙巳");
  EXPECT_EQ(TimeCorrectionModeFromSetting(7), TimeCorrectionMode::LocalMeanTime);
}

TEST(MYiDateEx, PrepareMomentFailures) {
  MYiDateEx date;
  PreparedMoment out;
  struct Case {
    MomentInput in;
    const char* message;
  };
  MomentInput gregorian;
  gregorian.entered = At(1582, 10, 10);
  MomentInput missingLeap;
  missingLeap.entered = At(2024, 2, 1);
  missingLeap.isLunar = missingLeap.isLeapMonth = true;
  MomentInput lunarTooLate;
  lunarTooLate.entered = At(9999, 12, 20);
  lunarTooLate.isLunar = true;
  MomentInput tooEarly;
  tooEarly.entered = At(-4713, 6, 1);
  MomentInput lastMinute;
  lastMinute.entered = At(9999, 12, 31, 23, 10);
  for (const Case& c : {Case{gregorian, "不存在这个日期"}, Case{missingLeap, "不存在这个农历日期，无法转换到公历！"},
                        Case{lunarTooLate, "时间越界，年份在-4713到9999之间"},
                        Case{tooEarly, "公、农历正常转换年份在-4713到9999之间"},
                        Case{lastMinute, "公、农历正常转换年份在-4713到9999之间"}}) {
    const Outcome o = date.PrepareMoment(c.in, out);
    EXPECT_FALSE(o.ok) << c.message;
    EXPECT_EQ(o.message, c.message);
  }
  MomentInput lunar;
  lunar.entered = At(2023, 2, 1, 8, 0);
  lunar.isLunar = lunar.isLeapMonth = true;
  ASSERT_TRUE(date.PrepareMoment(lunar, out).ok);
  EXPECT_EQ(out.beijingDate, At(2023, 3, 22, 8, 0));
  EXPECT_TRUE(out.isLeapMonth);
  EXPECT_DOUBLE_EQ(out.beijingJD, JulianDayFromParts(2023, 3, 22, 8, 0, 1));
}

TEST(MYiDateEx, RoundToTiesDownward) {
  EXPECT_DOUBLE_EQ(MYiDateEx::RoundTo(2.5, 0), 2.0);
  EXPECT_DOUBLE_EQ(MYiDateEx::RoundTo(2.51, 0), 3.0);
  EXPECT_DOUBLE_EQ(MYiDateEx::RoundTo(-2.5, 0), -3.0);
  EXPECT_NEAR(MYiDateEx::RoundTo(1.234, 2), 1.23, 1e-12);
  EXPECT_NEAR(MYiDateEx::RoundTo(1.236, 2), 1.24, 1e-12);
}

TEST(MYiDateEx, PillarYearCountsFromSpringBeginningWithoutYearZero) {
  MYiDateEx date;
  EXPECT_EQ(date.PillarYearOf(At(2024, 2, 4, 16, 26)), 2023);
  EXPECT_EQ(date.PillarYearOf(At(2024, 2, 4, 16, 27)), 2024);
  EXPECT_EQ(date.PillarYearOf(At(1, 1, 10)), -1);
  EXPECT_EQ(date.PillarYearOf(At(0, 6, 1)), -1);
  const int now = date.CurrentPillarYear();
  EXPECT_TRUE(now >= 2024 && now <= 9999);
}

}  // namespace
}  // namespace quorin::calendar
