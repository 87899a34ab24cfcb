// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/julian_day.h"

#include <cmath>

namespace quorin::calendar {
namespace {

// A date as one number that orders dates as written (months of 31, years of 372 days).
constexpr double kFirstGregorianDateKey = kReformYear * 372.0 + kReformMonth * 31.0 + kFirstGregorianDay;

}  // namespace

JulianDay JulianDayFromDate(int year, int month, double dayWithFraction) {
  // The switch is judged on the date as written, before January and February move to the year before.
  const bool gregorian = year * 372.0 + month * 31.0 + std::floor(dayWithFraction) >= kFirstGregorianDateKey;
  double y = year;
  double m = month;
  if (month <= 2) {
    m += 12;
    y -= 1;
  }
  double n = 0;
  if (gregorian) {
    const double a = std::trunc(y / 100);
    n = 2 - a + std::floor(a / 4);
  }
  return std::floor(365.25 * (y + 4716)) + std::floor(30.6001 * (m + 1)) + dayWithFraction + n - 1524.5;
}

JulianDay JulianDayFromParts(int year, int month, int day, int hour, int minute, int second) {
  return JulianDayFromDate(year, month, day + ((second / 60.0 + minute) / 60.0 + hour) / 24.0);
}

DateTimeParts DateFromJulianDay(JulianDay jd) {
  double d = std::floor(jd + 0.5);
  const double fraction = jd + 0.5 - d;
  if (d >= kFirstGregorianJulianDayNumber) {
    const double c = std::floor((d - 1867216.25) / 36524.25);
    d += 1 + c - std::floor(c / 4);
  }
  d += 1524;
  double y = std::floor((d - 122.1) / 365.25);
  d -= std::floor(365.25 * y);
  double m = std::floor(d / 30.601);
  d -= std::floor(30.601 * m);
  if (m > 13) {
    m -= 13;
    y -= 4715;
  } else {
    m -= 1;
    y -= 4716;
  }
  DateTimeParts parts;
  parts.year = static_cast<int>(y);
  parts.month = static_cast<int>(m);
  parts.day = static_cast<int>(d);
  double rest = fraction * 24;
  parts.hour = static_cast<int>(std::floor(rest));
  rest = (rest - parts.hour) * 60;
  parts.minute = static_cast<int>(std::floor(rest));
  rest = (rest - parts.minute) * 60;
  parts.second = static_cast<int>(std::trunc(rest));
  return parts;
}

CivilDateTime DateFromJulianDayToMinute(JulianDay jd) {
  DateTimeParts parts = DateFromJulianDay(jd);
  if (parts.second > 30) {
    // The next whole minute, with five seconds to spare against rounding error.
    parts = DateFromJulianDay(jd - parts.second / 86400.0 + 1 / 1440.0 + 5 / 86400.0);
  }
  CivilDateTime out;
  out.year = static_cast<std::int16_t>(parts.year);
  out.month = static_cast<std::int16_t>(parts.month);
  out.day = static_cast<std::int16_t>(parts.day);
  out.hour = static_cast<std::int16_t>(parts.hour);
  out.minute = static_cast<std::int16_t>(parts.minute);
  return out;
}

}  // namespace quorin::calendar
