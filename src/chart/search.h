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

// The list of ready patterns (现成吉格); item 0 is the list's title.
inline constexpr int kReadyPatternCount = 7;
extern const char* const kReadyPatterns[kReadyPatternCount];
// Replaces the conditions by the one of a ready pattern (items 1..6: 一卦纯清
// 四大格局 合生成格 卦不出位 挨星合十 一家骨肉), keeping the years, the mountain with
// its hexagram, the dragon, the water and the facing; false for any other item.
bool ApplyReadyPattern(SearchRequest& request, int item);
// The item of a pattern's name, -1 for none.
int ReadyPatternItem(std::string_view name);

// No condition, no dragon or water, no facing, mountain 壬 with its first
// hexagram; `year` searched for a person born 29 years earlier.
SearchRequest ClearedSearchRequest(int year);

// The digits a digit group takes from typed text: every digit 1..9 in order,
// anything else skipped, at most six.
DigitGroup DigitGroupFromText(std::string_view utf8, bool adjacent);
// The digits separated by single blanks, "1 3 9".
std::string DigitGroupText(const DigitGroup& group);

}  // namespace quorin::chart
