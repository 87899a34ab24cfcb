// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/astronomy.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calendar/delta_t.h"
#include "calendar/julian_day.h"
#include "calendar/yi_date_ex.h"

namespace quorin::calendar {
namespace {

// The civil moment (UTC+8) of a TT instant in centuries, rounded to the minute.
CivilDateTime CivilMinute(double T) {
  const double t = T * 36525;
  return DateFromJulianDayToMinute(t + 2451545 - DeltaTDays(t) + 1.0 / 3);
}

TEST(Astronomy, SolarTermInstantsOf2000And2024) {
  EXPECT_EQ(CivilMinute(SunLonTime(kTwoPi * 1.75)), (CivilDateTime{2000, 12, 21, 21, 37}));
  EXPECT_EQ(CivilMinute(SunLonTime(kTwoPi * (24 + 315.0 / 360))), (CivilDateTime{2024, 2, 4, 16, 27}));
}

TEST(Astronomy, NewMoonsOf2000And2024) {
  EXPECT_EQ(CivilMinute(ElongationTime(0)), (CivilDateTime{2000, 1, 7, 2, 14}));
  EXPECT_EQ(CivilMinute(ElongationTime(kTwoPi * 298)), (CivilDateTime{2024, 2, 10, 6, 59}));
}

TEST(Astronomy, FastInversionsStayWithinTheirErrorOverTheSpan) {
  for (double k = -80; k <= 100; k += 0.37) {
    const double W = kTwoPi * k;
    ASSERT_NEAR(SunLonTimeFast(W), SunLonTime(W), 15.0 / 1440 / 36525) << k;
    // The precise new moon is needed only within half an hour of midnight, so the fast one must be that good.
    ASSERT_NEAR(ElongationTimeFast(W * 12.37), ElongationTime(W * 12.37), 30.0 / 1440 / 36525) << k;
  }
}

TEST(Astronomy, InversionsHitTheirTargetAngle) {
  for (double W : {-250.0, -3.0, 0.5, 40.0, 500.0}) {
    EXPECT_NEAR(SunApparentLon(SunLonTime(W), -1), W, 2e-7) << W;
    EXPECT_NEAR(MoonSunElongation(ElongationTime(W * 12), -1, 60), W * 12, 2e-6) << W;
  }
}

TEST(Astronomy, EquationOfTimeInNovemberAndFebruary) {
  MYiDateEx date;
  EXPECT_NEAR(date.EquationOfTimeSeconds({2024, 11, 3, 12, 0}) / 60, 16.5, 0.1);
  EXPECT_NEAR(date.EquationOfTimeSeconds({2024, 2, 11, 12, 0}) / 60, -14.2, 0.1);
}

TEST(Astronomy, AngleReductionUsesTheStoredPi) {
  EXPECT_DOUBLE_EQ(kTwoPi, 6.2831853);
  EXPECT_NEAR(NormAngle2Pi(-0.5), kTwoPi - 0.5, 1e-12);
  EXPECT_NEAR(NormAngle2Pi(3 * kTwoPi + 1), 1, 1e-12);
  EXPECT_NEAR(NormAnglePi(kPi + 0.1), -kPi + 0.1, 1e-12);
  EXPECT_NEAR(NormAnglePi(-kPi), kPi, 1e-12);
  const EquatorialCoordinates q = EclipticToEquatorial(kPi / 2, 0, Obliquity(0));
  EXPECT_NEAR(q.rightAscension, kPi / 2, 1e-9);
  EXPECT_NEAR(q.declination, Obliquity(0), 1e-9);
}

TEST(Astronomy, TruncatedSeriesStayCloseToTheFullOnes) {
  for (double T = -60; T <= 80; T += 3.3) {
    ASSERT_NEAR(EarthLon(T / 10, 10), EarthLon(T / 10, -1), 2e-4) << T;
    ASSERT_NEAR(MoonLon(T / 10, 20), MoonLon(T / 10, -1), 2e-3) << T;
    ASSERT_TRUE(std::isfinite(SunApparentLon(T, -1)));
    ASSERT_TRUE(std::isfinite(MoonSunElongation(T, -1, -1)));
  }
}

}  // namespace
}  // namespace quorin::calendar
