// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/chart_settings.h"

#include "base/data_location.h"
#include "base/ini_file.h"

namespace quorin::chart {

ChartSettings LoadChartSettings(const std::string& path) {
  const base::IniFile ini(path);
  ChartSettings s;
  s.idate = ini.ReadInteger("set", "idate", 0);
  s.ijiazi = ini.ReadInteger("set", "ijiazi", 0);
  s.leftpos = ini.ReadInteger("set", "leftpos", 0);
  s.iShanShow = ini.ReadInteger("set", "iShanShow", 0);
  s.bRiGua = ini.ReadBool("set", "bRiGua", false);
  return s;
}

// The user's set.ini, or the shipped one when the user's folder has none.
std::string DefaultSettingsPath() { return base::ReadableDataFile("set.ini"); }

}  // namespace quorin::chart
