// SPDX-License-Identifier: GPL-3.0-or-later
// Options shared by the chart and search commands: years, mountains, columns.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "chart/request_check.h"

namespace quorin::chart {
class MQuorinDay;
}

namespace quorin::cli {

class Arguments;

using chart::YearRangeMessage;

// A year as users write it (no year 0) in astronomical numbering; nullopt outside
// -4713..9999 and for 0.
std::optional<int> AstronomicalYear(int historical);

// A mountain by name (子 or 子山) or by index 0..23 from 壬; a usage error otherwise.
int MountainFromText(const std::string& text, const std::string& option);

// "MOUNTAIN:COL" of --dragon and --water; the column is not checked here.
std::pair<int, int> MountainAndColumn(const std::string& text, const std::string& option);

// Points the engine at the settings file of --settings, which must exist (a usage
// error otherwise); without the option the engine keeps its default.
void UseSettingsOption(const Arguments& a, chart::MQuorinDay& engine);

}  // namespace quorin::cli
