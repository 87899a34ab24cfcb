// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/day_analysis.h"

#include <vector>

#include "chart/relation_sections.h"

namespace quorin::chart {

std::string DayAnalysisText(const std::array<ChartSlot, 4>& pillars) {
  std::array<LabeledSlot, 4> labeled;
  for (int i = 0; i < 4; ++i) labeled[static_cast<std::size_t>(i)] = {PillarLabel(i), &pillars[static_cast<std::size_t>(i)]};
  // Pairs in the order 年月, 年日, 年时, 月日, 月时, 日时.
  std::vector<LabeledPair> pairs;
  for (std::size_t i = 0; i < 4; ++i) {
    for (std::size_t j = i + 1; j < 4; ++j) pairs.push_back({labeled[i], labeled[j]});
  }
  bool sameQi = true;
  bool sameYun = true;
  for (const auto& p : pillars) {
    sameQi = sameQi && p.guaQi == pillars[0].guaQi;
    sameYun = sameYun && p.guaYun == pillars[0].guaYun;
  }
  // The day is the reference of 年, 月 and 时 in 生克进退.
  return "日课分析：\r\n" + RelationSectionsText(sameQi, sameYun, pairs, {labeled[0], labeled[1], labeled[3]}, labeled[2]);
}

}  // namespace quorin::chart
