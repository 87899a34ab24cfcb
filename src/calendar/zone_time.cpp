// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/zone_time.h"

#include <cmath>
#include <cstdio>

#include "calendar/julian_day.h"
#include "calendar/zone_rules.h"

namespace quorin::calendar {

namespace {

constexpr double kSecondsPerDay = 86400.0;
// Julian day of 1970-01-01 00:00, where the database's seconds count from.
constexpr double kUnixEpochJulianDay = 2440587.5;

// Julian day of a civil time of the program's calendar.
JulianDay JulianDayOf(const CivilDateTime& t) {
  return JulianDayFromDate(t.year, t.month, t.day + (t.hour * 60 + t.minute) / 1440.0);
}

CivilDateTime Shifted(const CivilDateTime& t, int seconds) {
  // Whole minutes: the program's times have no seconds.
  const long minutes = std::lround(seconds / 60.0);
  return DateFromJulianDayToMinute(JulianDayOf(t) + minutes / 1440.0);
}

}  // namespace

std::int64_t UtcSecondsOf(const CivilDateTime& t) {
  return std::llround((JulianDayOf(t) - kUnixEpochJulianDay) * kSecondsPerDay);
}

CivilDateTime BeijingTimeOfUtcSeconds(std::int64_t seconds) {
  return DateFromJulianDayToMinute(kUnixEpochJulianDay + static_cast<double>(seconds + kBeijingOffsetSeconds) / kSecondsPerDay);
}

std::optional<TimeZone> TimeZone::Find(std::string_view name) {
  const ZoneRules* rules = FindZoneRules(name);
  if (!rules) return std::nullopt;
  return TimeZone(rules);
}

ClockTimeReading TimeZone::Read(const CivilDateTime& clock) const { return zone_->Read(clock); }

ZoneSpan TimeZone::SpanAtBeijingTime(const CivilDateTime& beijing) const { return zone_->SpanAtBeijingTime(beijing); }

bool IsKnownZone(std::string_view zone) { return TimeZone::Find(zone).has_value(); }

std::optional<ClockTimeReading> ReadClockTime(std::string_view zone, const CivilDateTime& clock) {
  const std::optional<TimeZone> z = TimeZone::Find(zone);
  if (!z) return std::nullopt;
  return z->Read(clock);
}

std::optional<ZoneSpan> SpanAtBeijingTime(std::string_view zone, const CivilDateTime& beijing) {
  const std::optional<TimeZone> z = TimeZone::Find(zone);
  if (!z) return std::nullopt;
  return z->SpanAtBeijingTime(beijing);
}

std::optional<ZoneOffset> OffsetAtBeijingTime(std::string_view zone, const CivilDateTime& beijing) {
  const std::optional<ZoneSpan> span = SpanAtBeijingTime(zone, beijing);
  if (!span) return std::nullopt;
  return span->offset;
}

CivilDateTime BeijingTimeOfClock(const CivilDateTime& clock, const ZoneOffset& offset) {
  return Shifted(clock, kBeijingOffsetSeconds - offset.seconds);
}

CivilDateTime ClockTimeOfBeijing(const CivilDateTime& beijing, const ZoneOffset& offset) {
  return Shifted(beijing, offset.seconds - kBeijingOffsetSeconds);
}

std::string UtcOffsetText(int seconds) {
  const char sign = seconds < 0 ? '-' : '+';
  const int magnitude = std::abs(seconds);
  const int hours = magnitude / 3600, minutes = magnitude / 60 % 60, rest = magnitude % 60;
  char text[32];
  if (rest != 0) {
    std::snprintf(text, sizeof text, "UTC%c%d:%02d:%02d", sign, hours, minutes, rest);
  } else if (minutes != 0) {
    std::snprintf(text, sizeof text, "UTC%c%d:%02d", sign, hours, minutes);
  } else {
    std::snprintf(text, sizeof text, "UTC%c%d", sign, hours);
  }
  return text;
}

}  // namespace quorin::calendar
