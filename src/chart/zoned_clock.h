// SPDX-License-Identifier: GPL-3.0-or-later
// A request's moment at a place that reads its clock in a time zone: the clock time as the zone
// had it (summer time included), turned into the Beijing time the engine works in, or why it
// cannot be (a clock time skipped, or repeated without saying which).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/calendar_types.h"
#include "calendar/zone_time.h"

namespace quorin::chart {

// The clock of a place in another time zone: what its clock showed, the zone's name and its
// offset then. The chart shows it above the Beijing time it was turned into.
struct LocalClock {
  calendar::CivilDateTime clock;
  std::string zoneName;  // the zone's principal city, 纽约
  int offsetSeconds = 0;
  bool summerTime = false;
  bool beforeHistory = false;  // the zone's local mean time, before its recorded history
  bool beyondRecords = false;  // past the database's last year: its last offset goes on
};

struct ZonedClockReading {
  calendar::ClockTimeKind kind = calendar::ClockTimeKind::kUnique;
  std::array<calendar::ZoneOffset, 2> offsets{};  // as calendar::ClockTimeReading has them
  std::optional<LocalClock> clock;                // when read: the clock and offset used
  calendar::CivilDateTime beijing;                // when read
  // Why not read: the zone unknown, the clock time skipped, or repeated with `fold` 0 (then the
  // caller asks which, and reads again with 1 or 2).
  std::string problem;
};

// Reads `clock` (a Gregorian date of the program's calendar) in `zone`; `fold` 1 or 2 picks the
// first or second of a repeated clock time, 0 leaves it to ask.
ZonedClockReading ReadZonedClock(const calendar::CivilDateTime& clock, std::string_view zone, int fold);

// "2024年11月3日1时30分".
std::string ClockTimeText(const calendar::CivilDateTime& clock);
// "UTC-4，夏令时": an offset as the choice between two occurrences names it.
std::string OffsetChoiceText(const calendar::ZoneOffset& offset);

}  // namespace quorin::chart
