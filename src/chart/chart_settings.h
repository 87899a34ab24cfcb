// SPDX-License-Identifier: GPL-3.0-or-later
// The chart settings of set.ini (section "set"), re-read at every computation.
#pragma once

#include <string>

namespace quorin::chart {

struct ChartSettings {
  int idate = 0;       // time basis of day and hour: 0 Beijing, 1 true solar, 2 local mean time
  int ijiazi = 0;      // 1: 甲子 庚寅 甲午 庚申 map to 复 革 姤 蒙
  int leftpos = 0;     // first-line indent of the chart text
  int iShanShow = 0;   // 0: mountain names in the 龙 水 山 向 columns of the table
  bool bRiGua = false; // day hexagram of 甲子 甲午 庚寅 庚申 by season
  bool operator==(const ChartSettings&) const = default;
};

// Reads the five keys; a missing file or key gives the default.
ChartSettings LoadChartSettings(const std::string& path);

// dat/set.ini of the program folder, or of the shipped files when the program folder has none.
std::string DefaultSettingsPath();

}  // namespace quorin::chart
