// SPDX-License-Identifier: GPL-3.0-or-later
// The world's cities and countries named in the three scripts, as a recorded file: what the web
// edition, which has no ICU, names them with. The recording tool (tools/web_tables) writes the file
// from ICU's names; the tests check that both name alike.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "base/script_text.h"

namespace quorin::base {

// The file the web edition reads the names from, in its tables folder.
inline constexpr const char* kRecordedWorldNamesFile = "world_names.txt";

// One name in each script, in the order of kAllScripts.
using NamesInScripts = std::array<std::string, kAllScripts.size()>;

// A zone's city as English writes the last part of its id (America/Port_of_Spain: Port of Spain):
// what ICU's names fall back to.
std::string EnglishCityName(std::string_view zone);

class WorldNamesTable {
 public:
  // Nullopt, with the line in `problem`, when the text is not a recorded names file.
  static std::optional<WorldNamesTable> Parse(std::string_view text, std::string& problem);

  // As world_zones.h's ZoneCityName and CountryName answer: the recorded name, else the English
  // one for a city and the code for a country, as ICU gives where it has no name. An empty table
  // answers those for everything.
  std::string CityName(std::string_view zone, Script script) const;
  std::string CountryName(std::string_view countryCode, Script script) const;

 private:
  std::map<std::string, NamesInScripts, std::less<>> cities_;     // by zone
  std::map<std::string, NamesInScripts, std::less<>> countries_;  // by ISO 3166 code
};

// The recorded file at `path`; nullopt, with the program's message naming it, when it cannot be
// read or is broken.
std::optional<WorldNamesTable> ReadWorldNames(const std::string& path, std::string& problem);

// The recorded file's text, sorted. Names that are what a table without them answers are left
// out. Nullopt, with the name in `problem`, for a name holding a tab or a line break.
std::optional<std::string> WorldNamesText(const std::map<std::string, NamesInScripts>& cities,
                                          const std::map<std::string, NamesInScripts>& countries,
                                          std::string& problem);

}  // namespace quorin::base
