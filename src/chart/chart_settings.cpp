#include "chart/chart_settings.h"

#include "base/files.h"
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

std::string DefaultSettingsPath() { return base::WithTrailingSeparator(base::ProgramFolder()) + "dat/set.ini"; }

}  // namespace quorin::chart
