// SPDX-License-Identifier: GPL-3.0-or-later
// Years as users enter and see them and as the program keeps them. Users write
// historical years, without a year 0 (120 BC is -120); records, the calendar and the
// engine keep astronomical ones (0 is 1 BC, -119 is 120 BC).
#pragma once

#include "calendar/calendar_types.h"

namespace quorin::calendar {

// An entered year below zero gains one; a kept year of zero or less loses one when shown.
constexpr int AstronomicalYear(int historicalYear) { return historicalYear < 0 ? historicalYear + 1 : historicalYear; }
constexpr int HistoricalYear(int astronomicalYear) { return astronomicalYear <= 0 ? astronomicalYear - 1 : astronomicalYear; }

// The years a user may enter: those the calendar converts.
inline constexpr int kFirstHistoricalYear = HistoricalYear(kFirstCalendarYear);
inline constexpr int kLastHistoricalYear = HistoricalYear(kLastCalendarYear);
// The refusal messages name these years.
static_assert(kFirstHistoricalYear == -4713 && kLastHistoricalYear == 9999);
constexpr bool IsValidHistoricalYear(int year) {
  return year >= kFirstHistoricalYear && year <= kLastHistoricalYear && year != 0;
}

}  // namespace quorin::calendar
