// SPDX-License-Identifier: GPL-3.0-or-later
// Clock times of any place on Earth, read with the IANA time zone database the system
// installs (Debian tzdata, through the date/tz library): what a clock in a zone showed, as an
// instant, and as the Beijing time the chart engine works in. No offset or summer-time rule
// is written here; every offset comes from the database.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/calendar_types.h"

namespace quorin::calendar {

// One offset of a zone from UTC, as the database records it for an instant.
struct ZoneOffset {
  int seconds = 0;            // east of Greenwich
  bool summerTime = false;    // 夏令时
  std::string abbreviation;   // "EDT", "+08", "LMT"
  bool beforeHistory = false; // before the zone's first recorded change: its local mean time
  // After the last change the database records for a zone that still moved its clocks then
  // (the system's files stop in 2037): the last recorded offset goes on.
  bool beyondRecords = false;

  friend bool operator==(const ZoneOffset&, const ZoneOffset&) = default;
};

enum class ClockTimeKind {
  kUnique,    // the clock showed this time once
  kSkipped,   // clocks moved forward over it: it never existed
  kRepeated,  // clocks moved back over it: it occurred twice
};

// What one clock time means in a zone. The clock time is a civil date of the program's
// calendar (Julian before 1582-10-15, historical years as the calendar keeps them).
struct ClockTimeReading {
  ClockTimeKind kind = ClockTimeKind::kUnique;
  // kUnique: [0] is the offset. kRepeated: [0] the first occurrence's, [1] the second's.
  // kSkipped: [0] the offset before the change, [1] the one after it.
  std::array<ZoneOffset, 2> offsets{};
};

// The span of one offset of a zone, as Beijing times: from its start to the change that ends it.
struct ZoneSpan {
  ZoneOffset offset;
  CivilDateTime startsBeijing;
  CivilDateTime endsBeijing;
};

class ZoneRules;

// A zone of the database, found once by its name; what a walk over many moments reads.
class TimeZone {
 public:
  // Nullopt for a name the database does not know (or without a database).
  static std::optional<TimeZone> Find(std::string_view name);

  // What the clock time means in the zone.
  ClockTimeReading Read(const CivilDateTime& clock) const;
  // The span of the zone's offset at the instant the Beijing time (UTC+8) names.
  ZoneSpan SpanAtBeijingTime(const CivilDateTime& beijing) const;

 private:
  explicit TimeZone(const ZoneRules* zone) : zone_(zone) {}
  const ZoneRules* zone_;  // kept for the whole run
};

// The same for a zone named once ("America/New_York"); nullopt for an unknown zone.
bool IsKnownZone(std::string_view zone);
std::optional<ClockTimeReading> ReadClockTime(std::string_view zone, const CivilDateTime& clock);
std::optional<ZoneOffset> OffsetAtBeijingTime(std::string_view zone, const CivilDateTime& beijing);
std::optional<ZoneSpan> SpanAtBeijingTime(std::string_view zone, const CivilDateTime& beijing);

// The Beijing time (UTC+8) of a clock time read with one offset of its zone, and the clock time
// in a zone with that offset of a Beijing time. Seconds of an offset (local mean times) are
// rounded to whole minutes, as the program's times are.
CivilDateTime BeijingTimeOfClock(const CivilDateTime& clock, const ZoneOffset& offset);
CivilDateTime ClockTimeOfBeijing(const CivilDateTime& beijing, const ZoneOffset& offset);

// "UTC+8", "UTC-4", "UTC+5:30", "UTC+7:36:42" (a local mean time's seconds are kept).
std::string UtcOffsetText(int seconds);

}  // namespace quorin::calendar
