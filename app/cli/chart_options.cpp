// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart_options.h"

#include "base/files.h"
#include "calendar/historical_year.h"
#include "chart/domain_tables.h"
#include "chart/quorin_day.h"
#include "command.h"

namespace quorin::cli {

std::optional<int> AstronomicalYear(int historical) {
  if (!calendar::IsValidHistoricalYear(historical)) return std::nullopt;
  return calendar::AstronomicalYear(historical);
}

int MountainFromText(const std::string& text, const std::string& option) {
  std::string name = text;
  if (name.size() > 3 && name.ends_with("山")) name.resize(name.size() - 3);
  for (int m = 0; m < chart::kMountainCount; ++m) {
    if (chart::MountainName(m) == name) return m;
  }
  const int index = ParseInteger(text, option);
  if (index < 0 || index >= chart::kMountainCount) throw UsageError(option + " 应为山名（壬、子 … 亥）或 0..23：" + text);
  return index;
}

std::pair<int, int> MountainAndColumn(const std::string& text, const std::string& option) {
  const auto colon = text.rfind(':');
  if (colon == std::string::npos) throw UsageError(option + " 应写作 山:列，例如 子:1");
  return {MountainFromText(text.substr(0, colon), option), ParseInteger(text.substr(colon + 1), option)};
}

void UseSettingsOption(const Arguments& a, chart::MQuorinDay& engine) {
  if (!a.Has("settings")) return;
  if (!base::FileExists(*a.Value("settings"))) throw UsageError("找不到设置文件：" + *a.Value("settings"));
  engine.SetSettingsPath(*a.Value("settings"));
}

}  // namespace quorin::cli
