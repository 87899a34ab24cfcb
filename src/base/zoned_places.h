// SPDX-License-Identifier: GPL-3.0-or-later
// Places whose clock times are read in a time zone: the world's, one for each zone of the
// system's zone table under each country it serves, and the user's own, kept in a file of
// their own beside dili.ini (which stays as it always was).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/script_text.h"

namespace quorin::base {

struct ZonedPlace {
  std::string name;         // what a case stores: 美国纽约 (simplified), or the user's own name
  std::string shownName;    // what the city list shows: 纽约 in the shown script, or the own name
  std::string englishName;  // New York (world places); empty for own places
  double longitude = 0;     // degrees, east positive
  double latitude = 0;      // degrees, north positive
  std::string zone;         // IANA name; empty: Beijing time, as for the places of China

  friend bool operator==(const ZonedPlace&, const ZonedPlace&) = default;
};

struct WorldCountry {
  std::string code;       // ISO 3166
  std::string shownName;  // 美国, in the shown script
  std::vector<ZonedPlace> places;
};

// The countries of the zone table with their places, in the order of their Chinese names, China
// left out (its places are the provinces'). Built once per script; empty without the table.
const std::vector<WorldCountry>& WorldCountries(Script script);

// The user's own places, in the file's order; lines that are not "name<TAB>longitude<TAB>latitude
// <TAB>zone" with numbers in range are skipped. Empty when there is no file.
inline constexpr std::string_view kOwnPlacesFile = "places.txt";
std::vector<ZonedPlace> ReadOwnPlaces(const std::string& path);
// The file's text for `places`, with a first line saying what its columns are.
std::string OwnPlacesText(const std::vector<ZonedPlace>& places);
// Why an own place cannot be kept (empty when it can): a name empty, too long or with a tab or
// line break, coordinates out of range, a zone the database does not know.
std::string OwnPlaceProblem(const ZonedPlace& place);

// The place a typed name means: an own place of that name, else a world place by its Chinese name
// (either script, with or without its country: 纽约, 美国纽约), its English name (new york) or its
// zone's name (America/New_York). The zone's own country's place first where a zone serves several.
std::optional<ZonedPlace> FindPlaceByName(std::string_view typed, const std::vector<ZonedPlace>& ownPlaces);

}  // namespace quorin::base
