// SPDX-License-Identifier: GPL-3.0-or-later
// The options of a chart request, read the same way by every command that takes them (chart,
// pillars, search, cases add): the moment's calendar, the person, the mountain and the other
// positions, the place, the chart settings.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "calendar/calendar_types.h"
#include "chart/quorin_day.h"
#include "chart/record_data.h"
#include "chart/request_check.h"

namespace quorin::chart {
class MQuorinDay;
}

namespace quorin::cli {

class Arguments;

using chart::YearRangeMessage;

using quorin::kDefaultBirthYear;

// A year as users write it (no year 0) in astronomical numbering; nullopt outside
// -4713..9999 and for 0.
[[nodiscard]] std::optional<int> AstronomicalYear(int historical);

// A mountain by name (子 or 子山) or by index 0..23 from 壬; a usage error otherwise.
[[nodiscard]] int MountainFromText(const std::string& text, const std::string& option);

// "MOUNTAIN:COL" of --dragon and --water; the column is not checked here.
[[nodiscard]] std::pair<int, int> MountainAndColumn(const std::string& text, const std::string& option);

// Points the engine at the settings file of --settings, which must exist (a usage
// error otherwise); without the option the engine keeps its default.
void UseSettingsOption(const Arguments& a, chart::MQuorinDay& engine);

// What differs between the commands in the options of a request.
struct RequestForms {
  std::string birthOption = "birth";         // a case calls it "master-year"
  int defaultBirthYear = kDefaultBirthYear;  // astronomical
  // --mountain is a name or 0..23; a case takes the index it stores as any integer, which the
  // chart's check then accepts or refuses with its message.
  bool mountainByName = true;
};

// A chart request, or the program's refusal of the options (its message, exit 1).
struct RequestOrRefusal {
  TRecordData request;
  std::string refusal;  // empty when `request` holds
};

// The chart request at `moment` (astronomical, its year already accepted) that the options
// describe, with the window's defaults for what they leave out: a man named 某人 born in 1978,
// mountain 壬 with its first column, no dragon, water or facing, the unknown place (未知地) at
// 120°E 30°N. Reads those of --lunar --leap --female --birth --mountain --gua --dragon --water
// --facing --lon --lat --place that the command declares. An option in a wrong form is a usage
// error; a birth year the calendar does not have is refused.
[[nodiscard]] RequestOrRefusal ChartRequestFromOptions(const Arguments& a, const calendar::CivilDateTime& moment,
                                                       const RequestForms& forms = {});

// --zone ZONE and --fold 1|2: the moment typed is the clock time of a zone. Without --zone the
// moment is Beijing time, as always.
struct ZonedMoment {
  calendar::CivilDateTime beijing;          // what the chart is computed for
  std::optional<chart::LocalClock> clock;   // the clock time read, when zoned
  std::string refusal;                      // a clock time skipped, or repeated without --fold
};
[[nodiscard]] ZonedMoment ReadZoneOptions(const Arguments& a, const calendar::CivilDateTime& moment);

}  // namespace quorin::cli
