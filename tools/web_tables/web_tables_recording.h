// SPDX-License-Identifier: GPL-3.0-or-later
// Records what the web edition reads instead of OpenCC, tzdata and ICU: OpenCC's dictionaries the
// conversions use with the simplifying tables, every zone of the date/tz library's database as
// spans, and ICU's Chinese names of the world's cities and countries. The formats are those of
// base/script_tables.h, calendar/zone_table.h and base/world_names_table.h.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calendar/zone_table.h"

namespace quorin::web_tables {

// Each writes its files into `folder` (ending in '/', made when missing) and returns what failed,
// empty when all went well.
std::string RecordScriptTables(const std::string& folder);
std::string RecordZones(const std::string& folder);
std::string RecordWorldNames(const std::string& folder);
// The world places the window lists, for each script as it lists them (countries in the order of
// their Chinese names, each with its zones' cities): a JSON file the page reads itself,
// {"zh-Hans": [{code, name, places: [{name, shown, english, lon, lat, zone, zoneName}]}], …}.
inline constexpr const char* kRecordedWorldPlacesFile = "world_places.json";
std::string RecordWorldPlaces(const std::string& folder);
// All of them.
std::string RecordWebTables(const std::string& folder);

// The database's zones the recording holds, sorted: every one but "localtime", which is only the
// recording machine's own zone.
std::vector<std::string> RecordedDatabaseZones();
// One of them as the recording writes it; nullopt for a name the database does not know.
std::optional<calendar::RecordedZone> DatabaseZoneSpans(const std::string& name);
// The country codes whose names are recorded, sorted: tzdata's list of countries and every country
// of base::ReadWorldZones().
std::vector<std::string> RecordedCountryCodes();

}  // namespace quorin::web_tables
