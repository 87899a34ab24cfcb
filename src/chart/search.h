// SPDX-License-Identifier: GPL-3.0-or-later
// The search (查找吉课) around the engine's `Search`: the days it walks, the result
// lines it writes and reads back, and the fixed numbers of its walk.
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
// The progress of a whole year runs over the days of a leap year.
inline constexpr int kSearchProgressEnd = 366;
// The longest range of days searched at once.
inline constexpr int kMaxSearchYears = 100;

// The days searched, both included; dates Gregorian (Julian before 1582-10-15),
// astronomical years, hour and minute unused.
struct SearchDays {
  calendar::CivilDateTime first;
  calendar::CivilDateTime last;
  bool operator==(const SearchDays&) const = default;
};
// 1 January to 31 December: the year search is the range of its own year.
SearchDays WholeYear(int year);
// Why the days cannot be searched ("" when they can): a year the calendar does not
// convert, a day that does not exist, an end before the start, more than 100 years.
std::string SearchDaysProblem(const SearchDays& days);
inline constexpr const char* kReversedSearchDays = "结束日期不能早于起始日期";
inline constexpr const char* kTooLongSearchDays = "查找范围不能超过100年";

// "3：2012年03月05日07时": running number, astronomical year, month, day, hour.
std::string SearchResultLine(int number, const calendar::CivilDateTime& moment);
// The line of a result: a near miss adds the condition it misses, "12：2025年03月05日08时　差：冲主命".
std::string SearchResultLine(const SearchResult& result);
// The count after the lines: "共找到N条日课" or "没有找到符合条件的日课，请改变查找条件。", and when near
// misses were asked for, how many of them follow.
std::string SearchSummary(int found, int nearMisses, bool nearMissesAsked);

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

// Pillars and 卦气 digits of a result, for comparing candidates beside their lines:
// "甲辰 丁卯 戊寅 丁巳　卦气 主3 山6 年3 月6 日8 时2".
std::string SearchResultDetail(const SearchResult& result);
// The name of an examined position: 龙 水 主 山 向 年 月 日 时.
std::string_view PositionName(int kind);

// A new search is made for a person of this age in the first year searched.
inline constexpr int kDefaultMasterAge = 29;
// No condition, no dragon or water, no facing, mountain 壬 with its first
// hexagram; `year` searched for a person born kDefaultMasterAge years earlier.
SearchRequest ClearedSearchRequest(int year);

// The digits a digit group takes from typed text: every digit 1..9 in order,
// anything else skipped, at most six.
DigitGroup DigitGroupFromText(std::string_view utf8, bool adjacent);
// The digits separated by single blanks, "1 3 9".
std::string DigitGroupText(const DigitGroup& group);

}  // namespace quorin::chart
