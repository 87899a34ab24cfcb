// The one-year search (查找吉课) around the engine's `Search`: the result lines it
// writes and reads back, and the fixed numbers of its walk.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calendar/calendar_types.h"
#include "chart/search_request.h"
#include "chart/search_sink.h"

namespace quorin::chart {

// Every double hour is tested at this minute: 00:05, 02:05 … 22:05.
inline constexpr int kSearchMinute = 5;
// The progress runs over the days of a leap year.
inline constexpr int kSearchProgressEnd = 366;

// "3：2012年03月05日07时": running number, astronomical year, month, day, hour.
std::string SearchResultLine(int number, const calendar::CivilDateTime& moment);

// The moment of a result line, read between "：" 年 月 日 时; nullopt for any other text.
struct SearchResultMoment {
  int year = 0;  // astronomical, as the line holds it
  int month = 0;
  int day = 0;
  int hour = 0;
  bool operator==(const SearchResultMoment&) const = default;
};
std::optional<SearchResultMoment> ParseSearchResultLine(std::string_view line);

}  // namespace quorin::chart
