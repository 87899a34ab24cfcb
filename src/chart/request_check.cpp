// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/request_check.h"

#include <cmath>

#include "calendar/historical_year.h"
#include "chart/domain_tables.h"
#include "chart/quorin_day.h"

namespace quorin::chart {
namespace {

bool InCalendarYears(int astronomicalYear) {
  return astronomicalYear >= calendar::kFirstCalendarYear && astronomicalYear <= calendar::kLastCalendarYear;
}

bool PositionExists(int mountain, int column) { return GuaForMountain(mountain, column) >= 0; }

}  // namespace

std::string YearRangeMessage(std::string_view field) {
  return std::string(field) +
         "年份必须在-4713到9999年之间，并且没有公元0年\n注意：公元前用负数，比如公元前120年，就输入-120";
}

calendar::Outcome CheckChartRequest(const TRecordData& r, calendar::MYiDateEx& date) {
  if (!InCalendarYears(r.year)) return {false, YearRangeMessage("")};
  if (!InCalendarYears(r.masterYear)) return {false, YearRangeMessage("主命")};
  // What the engine's date conversion refuses, with its messages.
  if (r.month < 1 || r.month > 12 || r.day < 1 || r.day > (r.isLunar ? 30 : 31) || r.hour < 0 || r.hour > 23 ||
      r.minute < 0 || r.minute > 59) {
    return {false, r.isLunar ? calendar::kNoSuchLunarDate : calendar::kNoSuchDate};
  }
  calendar::CivilDateTime day{r.year, r.month, r.day, r.hour, r.minute};
  if (r.isLunar) {
    calendar::CivilDateTime solar;
    if (calendar::Outcome converted = date.LunarToSolar(day, r.isLeapMonth, solar); !converted.ok) return converted;
    if (!InCalendarYears(solar.year)) return {false, calendar::kLunarYearOutOfRange};
    day = solar;
  } else if (!date.IsValidDate(day)) {
    return {false, calendar::kNoSuchDate};
  }
  if (day.hour == 23) date.NextDay(day);
  if (!InCalendarYears(day.year)) return {false, calendar::kConvertedYearOutOfRange};
  if (!PositionExists(r.mountain, r.mountainGua) ||
      (r.dragonMountain != -1 && !PositionExists(r.dragonMountain, r.dragonGua)) ||
      (r.waterMountain != -1 && !PositionExists(r.waterMountain, r.waterGua))) {
    return {false, kNoSuchPosition};
  }
  if (!std::isfinite(r.longitude) || std::fabs(r.longitude) > 180) return {false, kLongitudeOutOfRange};
  if (!std::isfinite(r.latitude) || std::fabs(r.latitude) > 90) return {false, kLatitudeOutOfRange};
  return {};
}

}  // namespace quorin::chart
