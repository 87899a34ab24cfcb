// SPDX-License-Identifier: GPL-3.0-or-later
// Small pieces of the chart header that the text and the picture both print.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calendar/calendar_types.h"
#include "chart/record_data.h"

namespace quorin::chart {

struct LocalClock;

// The time zone of the mainland's clocks (Beijing time, and the summer times of 1986-1991).
inline constexpr const char* kMainlandZone = "Asia/Shanghai";

// "纽约时间，UTC-4，夏令时": the zone of a local clock time, its offset and its summer time.
std::string LocalClockNote(const LocalClock& local);
// A line of the chart header for a Beijing time inside a mainland summer time: the clocks then ran
// an hour ahead, and how to enter a clock time. Empty outside them.
std::string MainlandSummerTimeNote(const calendar::CivilDateTime& beijing);

// "2024年3月15日10时30分": a moment as the chart header writes it.
std::string ChartDateText(const calendar::CivilDateTime& moment);

// "其他人：配偶（1982年-女命）、长子（2010年-男命）" with the punctuation given (the picture's is
// half-width); empty without other persons.
std::string OtherPersonsLine(const std::vector<OtherPerson>& persons, std::string_view colon, std::string_view open,
                             std::string_view close, std::string_view separator);

// Whole degrees (floor) and the minutes of the fraction, rounded with halves down.
std::pair<int, int> WholeDegreesAndMinutes(float value);

}  // namespace quorin::chart
