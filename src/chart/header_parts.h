// SPDX-License-Identifier: GPL-3.0-or-later
// Small pieces of the chart header that the text and the picture both print.
#pragma once

#include <string>
#include <utility>

namespace quorin::chart {

struct LocalClock;

// "纽约时间，UTC-4，夏令时": the zone of a local clock time, its offset and its summer time.
std::string LocalClockNote(const LocalClock& local);

// Whole degrees (floor) and the minutes of the fraction, rounded with halves down.
std::pair<int, int> WholeDegreesAndMinutes(float value);

}  // namespace quorin::chart
