#include "chart/search.h"

#include <cstdio>

#include "base/text_parse.h"
#include "chart/quorin_day.h"
#include "chart/search_match.h"

namespace quorin::chart {
namespace {

constexpr calendar::JulianDay kTwoHours = 1.0 / 12;
constexpr int kMomentsPerDay = 12;
// The place searched when no chart has named one: on the zone meridian 120°E, where true solar
// and Beijing time differ least, at a middle latitude of the country.
constexpr float kUnknownPlaceLongitude = 120;
constexpr float kUnknownPlaceLatitude = 30;

// The number written between `from` and `to`, both found after `start`.
std::optional<int> NumberBetween(std::string_view line, std::string_view from, std::string_view to, std::size_t& start) {
  const std::size_t open = line.find(from, start);
  if (open == std::string_view::npos) return std::nullopt;
  const std::size_t first = open + from.size();
  const std::size_t close = line.find(to, first);
  if (close == std::string_view::npos || close == first || close - first > 6) return std::nullopt;
  // The lines are written with "%d", which never puts a '+'.
  const std::string_view digits = line.substr(first, close - first);
  const std::optional<int> value = digits.starts_with('+') ? std::nullopt : base::ParseInt(digits);
  if (value) start = close;
  return value;
}

}  // namespace

std::string SearchResultLine(int number, const calendar::CivilDateTime& moment) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%d：%d年%02d月%02d日%02d时", number, moment.year, moment.month, moment.day,
                moment.hour);
  return buffer;
}

std::optional<SearchResultMoment> ParseSearchResultLine(std::string_view line) {
  std::size_t at = 0;
  const auto year = NumberBetween(line, "：", "年", at);
  const auto month = year ? NumberBetween(line, "年", "月", at) : std::nullopt;
  const auto day = month ? NumberBetween(line, "月", "日", at) : std::nullopt;
  const auto hour = day ? NumberBetween(line, "日", "时", at) : std::nullopt;
  if (!hour) return std::nullopt;
  return SearchResultMoment{*year, *month, *day, *hour};
}

int MQuorinDay::Search(const SearchRequest& request, SearchSink& sink) {
  searchRequest_ = request;
  const MomentTest test(request);

  sink.SetRange(0, kSearchProgressEnd);
  sink.SetPosition(0);
  sink.Clear();
  int matches = 0;
  LoadSettings();

  // The place stays the last chart's; before any chart the engine has none, and a
  // corrected time basis then uses the longitude of an unknown place.
  if (request_.addrName.empty() && request_.longitude == 0 && request_.latitude == 0) {
    request_.longitude = kUnknownPlaceLongitude;
    request_.latitude = kUnknownPlaceLatitude;
  }
  request_.isLunar = false;
  request_.isLeapMonth = false;
  CopyDragonWaterFacing(request, request_);
  request_.masterYear = request.masterYear;
  request_.mountain = request.mountain;
  request_.mountainGua = request.mountainGua;

  // Only the years the calendar converts.
  if (request.year < calendar::kFirstCalendarYear || request.year > calendar::kLastCalendarYear) {
    errorText_ = calendar::kConvertedYearOutOfRange;
    sink.SetPosition(kSearchProgressEnd);
    return 0;
  }
  calendar::CivilDateTime moment{static_cast<std::int16_t>(request.year), 1, 1, 0, kSearchMinute};
  calendar::JulianDay jd = date_.ToJulianDay(moment);
  for (int examined = 1;; ++examined) {
    request_.year = moment.year;
    request_.month = moment.month;
    request_.day = moment.day;
    request_.hour = moment.hour;
    request_.minute = moment.minute;
    if (!ConvertDate()) break;
    ClearChart();
    ComputePillars();
    if (!BuildSlots()) {
      errorText_ = kNoSuchPosition;
      break;
    }
    ComputeAvoidInfo();
    if (test.Passes(BuildExaminedList(request, slots_), PillarSlots(), avoid_)) {
      sink.AppendLine(SearchResultLine(++matches, moment));
    }
    if (examined % kMomentsPerDay == 0) sink.SetPosition(sink.Position() + 1);
    jd += kTwoHours;
    moment = date_.FromJulianDay(jd);
    if (moment.year != request.year) break;
  }
  sink.SetPosition(kSearchProgressEnd);
  return matches;
}

}  // namespace quorin::chart
