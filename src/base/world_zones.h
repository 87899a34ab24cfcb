// SPDX-License-Identifier: GPL-3.0-or-later
// The world's time zones as places: every zone of the system's tzdata table zone1970.tab under
// each country it serves, at the coordinates of its principal city, named in Chinese by ICU's
// localized city and country names (simplified or traditional, following the shown script).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/script_text.h"

namespace quorin::base {

// Debian's tzdata keeps the tables here: zones since 1970 by the countries they serve, and one
// zone or more for every country.
inline constexpr const char* kZoneTablePath = "/usr/share/zoneinfo/zone1970.tab";
inline constexpr const char* kCountryZoneTablePath = "/usr/share/zoneinfo/zone.tab";

struct WorldZone {
  std::string countryCode;  // ISO 3166, "US"
  std::string zone;         // IANA name, "America/New_York"
  double latitude = 0;      // degrees, north positive
  double longitude = 0;     // degrees, east positive
};

// The table's zones, one per country and zone, in the table's order (by country, then within it
// from its most populous city). Empty when the file cannot be read. Where a zone serves a country
// besides its own (Asia/Singapore for peninsular Malaysia), that country's own zone of the
// country table stands in for it when there is one not listed yet (Asia/Kuala_Lumpur, at Kuala
// Lumpur): the same clock since 1970, the country's own city and history.
std::vector<WorldZone> ReadWorldZones(const std::string& path = kZoneTablePath,
                                      const std::string& countryTablePath = kCountryZoneTablePath);

// Degrees of an ISO 6709 coordinate of the table ("+4042", "-07400", "+404251", "-0740023").
std::optional<double> ZoneTableDegrees(std::string_view text);

// ICU's names in the script: the principal city of a zone (纽约; its English name when ICU has
// none) and a country (美国).
std::string ZoneCityName(std::string_view zone, Script script);
std::string CountryName(std::string_view countryCode, Script script);

}  // namespace quorin::base
