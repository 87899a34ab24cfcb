// SPDX-License-Identifier: GPL-3.0-or-later
// Dates and moments as users write them on the command line: "YYYY-MM-DD" and "YYYY-MM-DD HH:MM",
// the year historical (no year 0; a leading '-' is a year BC, 120 BC is -120). One reader for every
// command, so that all of them take the same text.
#pragma once

#include <optional>
#include <string_view>

#include "calendar/calendar_types.h"

namespace quorin::calendar {

// A moment as written. Month 1..12, day 1..31, hour 0..23 and minute 0..59 (what a date or a time
// can be in any calendar); whether the day exists in its calendar, and whether the calendar has
// the year, is for the caller to ask, so that it refuses with the program's own message.
struct TypedMoment {
  int year = 0;  // historical, any value that fits an int (0 and 99999 too)
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;

  friend bool operator==(const TypedMoment&, const TypedMoment&) = default;
};

// "YYYY-MM-DD": an optional '-' and the year's digits, then month and day of one or two digits
// each, joined by '-'. Nothing else: no blanks around, no '+', no time.
[[nodiscard]] std::optional<TypedMoment> ParseDateText(std::string_view text);

// "YYYY-MM-DD" or "YYYY-MM-DD HH:MM": the date, then one or more spaces or a single 'T' (as ISO
// 8601 writes it) and the hour and minute of one or two digits each. Without a time it is 00:00.
[[nodiscard]] std::optional<TypedMoment> ParseMomentText(std::string_view text);

// The moment in astronomical numbering, as the calendar and the records keep it; nullopt for a
// year the calendar does not convert (0, or outside -4713..9999).
[[nodiscard]] std::optional<CivilDateTime> AstronomicalMoment(const TypedMoment& typed);

}  // namespace quorin::calendar
