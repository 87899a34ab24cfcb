// Small pieces of the chart header that the text and the picture both print.
#pragma once

#include <string>
#include <utility>

namespace quorin::chart {

// Years are shown without a year 0: astronomical 0 is 1 BC, shown as -1.
int DisplayYear(int year);
// Whole degrees (floor) and the minutes of the fraction, rounded with halves down.
std::pair<int, int> WholeDegreesAndMinutes(float value);
// Stem and branch names of a pillar, e.g. "甲子".
std::string PillarText(int jiazi);

}  // namespace quorin::chart
