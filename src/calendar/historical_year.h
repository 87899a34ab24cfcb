// Years as users enter and see them and as the program keeps them. Users write
// historical years, without a year 0 (120 BC is -120); records, the calendar and the
// engine keep astronomical ones (0 is 1 BC, -119 is 120 BC).
#pragma once

namespace quorin::calendar {

// The years a user may enter.
inline constexpr int kFirstHistoricalYear = -4713;
inline constexpr int kLastHistoricalYear = 9999;
constexpr bool IsValidHistoricalYear(int year) {
  return year >= kFirstHistoricalYear && year <= kLastHistoricalYear && year != 0;
}

// An entered year below zero gains one; a kept year of zero or less loses one when shown.
constexpr int AstronomicalYear(int historicalYear) { return historicalYear < 0 ? historicalYear + 1 : historicalYear; }
constexpr int HistoricalYear(int astronomicalYear) { return astronomicalYear <= 0 ? astronomicalYear - 1 : astronomicalYear; }

}  // namespace quorin::calendar
