// SPDX-License-Identifier: GPL-3.0-or-later
// The world's cities and countries of the web edition: ICU's names, recorded into the shipped
// tables folder when the edition is built (world_names_table.h).
#include <optional>
#include <string>
#include <utility>

#include "base/data_location.h"
#include "base/world_names_table.h"
#include "base/world_zones.h"

namespace quorin::base {

namespace {

// Read once and kept; until the page has put the file in place, English city names and the
// countries' codes, and the file is looked for again at the next question.
const WorldNamesTable& Names() {
  static std::optional<WorldNamesTable> names;
  if (!names) {
    std::string problem;
    names = ReadWorldNames(ShippedFolder() + "tables/" + kRecordedWorldNamesFile, problem);
  }
  static const WorldNamesTable none;
  return names ? *names : none;
}

}  // namespace

std::string ZoneCityName(std::string_view zone, Script script) { return Names().CityName(zone, script); }

std::string CountryName(std::string_view countryCode, Script script) { return Names().CountryName(countryCode, script); }

}  // namespace quorin::base
