// Calendar dates and Julian days: Gregorian from 1582-10-15 on, Julian before.
#pragma once

#include "calendar/calendar_types.h"

namespace quorin::calendar {

// Julian day of a date whose day may carry a fraction of a day.
JulianDay JulianDayFromDate(int year, int month, double dayWithFraction);
// Julian day of an instant given to the second (second, minute and hour may be any value).
JulianDay JulianDayFromParts(int year, int month, int day, int hour, int minute, int second);
// Date and time of a Julian day, each field truncated (not rounded).
DateTimeParts DateFromJulianDay(JulianDay jd);
// Date and time rounded to the minute: 30 s and less dropped, 31 s and more carried.
CivilDateTime DateFromJulianDayToMinute(JulianDay jd);

}  // namespace quorin::calendar
