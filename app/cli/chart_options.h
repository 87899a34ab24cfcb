// SPDX-License-Identifier: GPL-3.0-or-later
// The options of a chart request, read the same way by every command that takes them (chart,
// pillars, search, cases add): the moment's calendar, the person, the mountain and the other
// positions, the place, the chart settings.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "base/zoned_places.h"
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
// --facing --lon --lat --place --zone --fold that the command declares (a zone makes `moment` its
// clock time) and the repeatable --person NAME,男|女,YEAR of the persons after 主命. An option in a wrong form is a usage error; a birth year the calendar does not
// have is refused.
[[nodiscard]] RequestOrRefusal ChartRequestFromOptions(const Arguments& a, const calendar::CivilDateTime& moment,
                                                       const RequestForms& forms = {});

// --place NAME naming an own place (dat/places.txt) or a world place, when neither --lon nor
// --lat is given: its coordinates, its name as the place's and its zone. A name that is neither
// stays only the place's name, as it always was.
[[nodiscard]] std::optional<base::ZonedPlace> NamedPlace(const Arguments& a);

// The zone of --zone, else that of the place --place names; empty for Beijing time.
[[nodiscard]] std::string ZoneOption(const Arguments& a);

// --zone ZONE (or the zone of the place --place names) and --fold 1|2: the moment typed is the
// clock time of a zone. Without either the moment is Beijing time, as always.
struct ZonedMoment {
  calendar::CivilDateTime beijing;          // what the chart is computed for
  std::string refusal;                      // a clock time skipped, or repeated without --fold
};
[[nodiscard]] ZonedMoment ReadZoneOptions(const Arguments& a, const calendar::CivilDateTime& moment);

}  // namespace quorin::cli
