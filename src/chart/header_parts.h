// SPDX-License-Identifier: GPL-3.0-or-later
// Small pieces of the chart header that the text and the picture both print.
#pragma once

#include <utility>

namespace quorin::chart {

// Whole degrees (floor) and the minutes of the fraction, rounded with halves down.
std::pair<int, int> WholeDegreesAndMinutes(float value);

}  // namespace quorin::chart
