// SPDX-License-Identifier: GPL-3.0-or-later
// Avoidance data of a chart (what a good moment should not contain for this
// mountain and person) and the common shensha lines (常用神煞).
#pragma once

#include <array>
#include <string>

#include "chart/chart_slot.h"

namespace quorin::chart {

// 0 冲山 branch, 1..3 山家三煞 branches, 4 冲主命 branch, 5 坐山 hexagram,
// 6 朝向 hexagram; -1 = none.
using AvoidInfo = std::array<int, 7>;
inline constexpr int kAvoidClashMountain = 0;
inline constexpr int kAvoidMountainKillings = 1;
inline constexpr int kAvoidClashMaster = 4;
inline constexpr int kAvoidMountainGua = 5;
inline constexpr int kAvoidFacingGua = 6;

AvoidInfo ComputeAvoidInfo(MountainIndex mountain, const ChartSlot& master, const ChartSlot& mountainSlot);

// The three branches (三煞) of a year or month pillar's branch, in table order.
std::array<int, 3> ThreeKillings(int branch);

// The five lines "1:冲山-…" to "5:月三煞-…".
std::array<std::string, 5> ShenshaLines(const AvoidInfo& avoid, int yearPillar, int monthPillar);

// "常用神煞：\r\n" and the five lines, each ending in "\r\n".
std::string ShenshaText(const std::array<std::string, 5>& lines);
inline constexpr int kShenshaHeadingBytes = 10;  // "常用神煞：", bold and green

}  // namespace quorin::chart
