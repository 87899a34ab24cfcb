// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/zone_time.h"

#include <date/tz.h>

#include <chrono>
#include <cmath>
#include <cstdio>

#include "calendar/julian_day.h"

namespace quorin::calendar {

namespace {

constexpr int kBeijingOffsetSeconds = 8 * 3600;
constexpr double kSecondsPerDay = 86400.0;
// Julian day of 1970-01-01 00:00, where the database's seconds count from.
constexpr double kUnixEpochJulianDay = 2440587.5;

// Julian day of a civil time of the program's calendar.
JulianDay JulianDayOf(const CivilDateTime& t) {
  return JulianDayFromDate(t.year, t.month, t.day + (t.hour * 60 + t.minute) / 1440.0);
}

// Seconds from the epoch of a civil time of the program's calendar, read as if on UTC.
std::chrono::seconds SecondsOf(const CivilDateTime& t) {
  return std::chrono::seconds(std::llround((JulianDayOf(t) - kUnixEpochJulianDay) * kSecondsPerDay));
}

// The instant a Beijing time names.
date::sys_seconds InstantOfBeijing(const CivilDateTime& beijing) {
  return date::sys_seconds{SecondsOf(beijing) - std::chrono::seconds(kBeijingOffsetSeconds)};
}

CivilDateTime BeijingOfInstant(date::sys_seconds t) {
  return DateFromJulianDayToMinute(kUnixEpochJulianDay + (t.time_since_epoch().count() + kBeijingOffsetSeconds) / kSecondsPerDay);
}

CivilDateTime Shifted(const CivilDateTime& t, int seconds) {
  // Whole minutes: the program's times have no seconds.
  const long minutes = std::lround(seconds / 60.0);
  return DateFromJulianDayToMinute(JulianDayOf(t) + minutes / 1440.0);
}

// The system's zone files list changes up to 2037; a span that starts then and never ends is
// where the records stop, not where the zone stopped changing.
bool PastTheRecords(const date::sys_info& info) {
  using namespace date::literals;
  return info.begin >= date::sys_days{2037_y / date::January / 1} && info.end >= date::sys_days{9999_y / date::January / 1};
}

ZoneOffset FromInfo(const date::sys_info& info) {
  ZoneOffset o;
  o.beyondRecords = PastTheRecords(info);
  o.seconds = static_cast<int>(info.offset.count());
  o.summerTime = info.save != std::chrono::minutes(0);
  o.abbreviation = info.abbrev;
  // The database names a zone's time before its first recorded change "LMT".
  o.beforeHistory = info.abbrev == "LMT";
  return o;
}

}  // namespace

std::optional<TimeZone> TimeZone::Find(std::string_view name) {
  try {
    return TimeZone(date::locate_zone(std::string(name)));
  } catch (const std::exception&) {
    return std::nullopt;  // unknown name, or no database installed
  }
}

ClockTimeReading TimeZone::Read(const CivilDateTime& clock) const {
  const date::local_info info = zone_->get_info(date::local_seconds{SecondsOf(clock)});
  ClockTimeReading reading;
  reading.offsets = {FromInfo(info.first), FromInfo(info.second)};
  switch (info.result) {
    case date::local_info::unique: reading.kind = ClockTimeKind::kUnique; break;
    case date::local_info::nonexistent: reading.kind = ClockTimeKind::kSkipped; break;
    case date::local_info::ambiguous: reading.kind = ClockTimeKind::kRepeated; break;
  }
  return reading;
}

ZoneSpan TimeZone::SpanAtBeijingTime(const CivilDateTime& beijing) const {
  const date::sys_info info = zone_->get_info(InstantOfBeijing(beijing));
  return ZoneSpan{FromInfo(info), BeijingOfInstant(info.begin), BeijingOfInstant(info.end)};
}

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
