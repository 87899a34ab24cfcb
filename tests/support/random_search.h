// SPDX-License-Identifier: GPL-3.0-or-later
// Random pieces of search requests for the search's property tests, from a seeded generator.
#pragma once

#include <random>

#include "chart/domain_tables.h"

namespace quorin::testing {

// 0 .. n-1.
inline int Pick(std::mt19937& random, int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }

// A mountain and a column of it that holds a hexagram.
template <typename Mountain, typename Column>
void PickMountainAndColumn(std::mt19937& random, Mountain& mountain, Column& column) {
  do {
    mountain = static_cast<Mountain>(Pick(random, chart::kMountainCount));
    column = static_cast<Column>(Pick(random, chart::kMountainColumns));
  } while (chart::GuaForMountain(mountain, column) < 0);
}

}  // namespace quorin::testing
