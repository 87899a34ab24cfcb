// Small pieces of the chart header that the text and the picture both print.
#pragma once

#include <string>
#include <utility>

namespace quorin::chart {

// Whole degrees (floor) and the minutes of the fraction, rounded with halves down.
std::pair<int, int> WholeDegreesAndMinutes(float value);
// Stem and branch names of a pillar, e.g. "甲子".
std::string PillarText(int jiazi);

}  // namespace quorin::chart
