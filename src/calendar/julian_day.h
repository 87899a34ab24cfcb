// SPDX-License-Identifier: GPL-3.0-or-later
// Calendar dates and Julian days: Gregorian from 1582-10-15 on, Julian before.
#pragma once

#include "calendar/calendar_types.h"

namespace quorin::calendar {

// The Gregorian reform: Thursday 1582-10-04 (Julian) was followed by Friday 1582-10-15 (Gregorian),
// so the ten days between never existed.
inline constexpr int kReformYear = 1582;
inline constexpr int kReformMonth = 10;
inline constexpr int kLastJulianDay = 4;
inline constexpr int kFirstGregorianDay = 15;
inline constexpr int kReformDroppedDays = kFirstGregorianDay - kLastJulianDay - 1;
// Julian day number of 1582-10-15, the first Gregorian day.
inline constexpr int kFirstGregorianJulianDayNumber = 2299161;
constexpr bool IsReformMonth(int year, int month) { return year == kReformYear && month == kReformMonth; }

// Julian day of a date whose day may carry a fraction of a day.
JulianDay JulianDayFromDate(int year, int month, double dayWithFraction);
// Julian day of an instant given to the second (second, minute and hour may be any value).
JulianDay JulianDayFromParts(int year, int month, int day, int hour, int minute, int second);
// Date and time of a Julian day, each field truncated (not rounded).
DateTimeParts DateFromJulianDay(JulianDay jd);
// Date and time rounded to the minute: 30 s and less dropped, 31 s and more carried.
CivilDateTime DateFromJulianDayToMinute(JulianDay jd);

}  // namespace quorin::calendar
