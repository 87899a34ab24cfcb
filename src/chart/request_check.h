// SPDX-License-Identifier: GPL-3.0-or-later
// The rules a chart request meets before it is charted or kept as a case. The window, quorin-cli
// and an import of another library check a case's fields with these same rules and messages, so
// nothing is stored that the chart would refuse.
#pragma once

#include <string>
#include <string_view>

#include "calendar/yi_date_ex.h"
#include "chart/record_data.h"

namespace quorin::chart {

// "年份必须在-4713到9999年之间……": `field` names the year ("", "主命", "查找").
std::string YearRangeMessage(std::string_view field);

inline constexpr const char* kLongitudeOutOfRange = "经度在-180到180之间";
inline constexpr const char* kLatitudeOutOfRange = "纬度在-90到90之间";

// The moment (a date the calendar has, in its years, also once the 子 hour from 23:00 moves it to
// the next day), the person's birth year, the mountain with its gua and the dragon and water
// positions, and the place's coordinates. `date` keeps what it has computed for the next call.
calendar::Outcome CheckChartRequest(const TRecordData& request, calendar::MYiDateEx& date);

}  // namespace quorin::chart
