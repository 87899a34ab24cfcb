// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/julian_day.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calendar/delta_t.h"

namespace quorin::calendar {
namespace {

TEST(JulianDay, KnownDaysAndTheGregorianSwitch) {
  EXPECT_DOUBLE_EQ(JulianDayFromDate(2000, 1, 1.5), 2451545.0);
  EXPECT_DOUBLE_EQ(JulianDayFromDate(1582, 10, 15), 2299160.5);
  EXPECT_DOUBLE_EQ(JulianDayFromDate(1582, 10, 4), 2299159.5);
  EXPECT_DOUBLE_EQ(JulianDayFromDate(-4712, 1, 1.5), 0.0);
  EXPECT_EQ(DateFromJulianDay(2299160.5), (DateTimeParts{1582, 10, 15, 0, 0, 0}));
  EXPECT_EQ(DateFromJulianDay(2299159.5), (DateTimeParts{1582, 10, 4, 0, 0, 0}));
  EXPECT_EQ(DateFromJulianDay(0.0), (DateTimeParts{-4712, 1, 1, 12, 0, 0}));
}

TEST(JulianDay, EveryFirstOfMonthRoundTripsOverTheWholeSpan) {
  for (int year = -4712; year <= 9999; year += 7) {
    for (int month = 1; month <= 12; ++month) {
      const DateTimeParts back = DateFromJulianDay(JulianDayFromParts(year, month, 1, 6, 30, 15));
      ASSERT_EQ(back.year, year);
      ASSERT_EQ(back.month, month);
      ASSERT_EQ(back.day, 1);
      ASSERT_EQ(back.hour, 6);
      ASSERT_EQ(back.minute, 30);
      ASSERT_NEAR(back.second, 15, 1);
    }
  }
}

TEST(JulianDay, RoundsToTheMinuteCarryingFrom31Seconds) {
  struct Case {
    double second;
    CivilDateTime expected;
  };
  for (const Case& c : {Case{30.5, {2024, 12, 31, 23, 59}}, Case{31.2, {2025, 1, 1, 0, 0}},
                        Case{40, {2025, 1, 1, 0, 0}}, Case{12, {2024, 12, 31, 23, 59}}}) {
    const double jd = JulianDayFromDate(2024, 12, 31 + (23 + (59 + c.second / 60) / 60) / 24);
    EXPECT_EQ(DateFromJulianDayToMinute(jd), c.expected) << c.second;
  }
}

TEST(DeltaT, TableEndsAndPiecesAsDefined) {
  const auto ext = [](double y) { return 31 * ((y - 1820) / 100) * ((y - 1820) / 100) - 20; };
  EXPECT_DOUBLE_EQ(DeltaT(2015), 69.0);
  EXPECT_DOUBLE_EQ(DeltaT(2115), ext(2115));
  EXPECT_DOUBLE_EQ(DeltaT(3000), ext(3000));
  EXPECT_DOUBLE_EQ(DeltaT(2000), 63.87);
  // The pieces do not join: the 1980 row just below 2000 gives about 64.5.
  EXPECT_NEAR(DeltaT(1999.9999), 64.50, 0.01);
  // Before −4000 the first row extrapolates.
  EXPECT_GT(DeltaT(-4712), DeltaT(-4000));
  EXPECT_TRUE(std::isfinite(DeltaT(-4712)));
  EXPECT_NEAR(DeltaTDays(0), 63.87 / 86400, 1e-9);
}

}  // namespace
}  // namespace quorin::calendar
