// SPDX-License-Identifier: GPL-3.0-or-later
// Where a zone's offsets come from: the date/tz library over the system's tzdata in the desktop
// programs, a table recorded from it when the web edition is built. What zone_time.h builds on.
#pragma once

#include <cstdint>
#include <string_view>

#include "calendar/zone_time.h"

namespace quorin::calendar {

class ZoneRules {
 public:
  virtual ~ZoneRules() = default;
  virtual ClockTimeReading Read(const CivilDateTime& clock) const = 0;
  virtual ZoneSpan SpanAtBeijingTime(const CivilDateTime& beijing) const = 0;
};

// The rules of a zone by its IANA name, kept for the whole run; null for a name the database does
// not know (or without a database).
const ZoneRules* FindZoneRules(std::string_view name);

// Seconds since 1970-01-01 00:00 UTC of a civil time of the program's calendar read as UTC, and
// the Beijing time (UTC+8) of such seconds, to the minute.
std::int64_t UtcSecondsOf(const CivilDateTime& t);
CivilDateTime BeijingTimeOfUtcSeconds(std::int64_t seconds);
inline constexpr int kBeijingOffsetSeconds = 8 * 3600;

}  // namespace quorin::calendar
