// SPDX-License-Identifier: GPL-3.0-or-later
// 日课分析: how the four pillars of a moment relate to each other.
#pragma once

#include <array>
#include <string>

#include "chart/chart_slot.h"

namespace quorin::chart {

// The whole analysis paragraph, from "日课分析：" to its closing blank line, for the
// slots of 年 月 日 时.
std::string DayAnalysisText(const std::array<ChartSlot, 4>& pillars);

// Byte length (GBK) of the heading "日课分析：" that is shown bold and blue.
inline constexpr int kDayAnalysisHeadingBytes = 10;

}  // namespace quorin::chart
