// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_tables_recording.h"

#include <date/tz.h>
#include <opencc/DictEntry.hpp>
#include <opencc/Lexicon.hpp>
#include <opencc/MarisaDict.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>

#include "base/files.h"
#include "base/script_dictionaries.h"
#include "base/script_tables.h"
#include "base/world_names_table.h"
#include "base/world_zones.h"
#include "base/zoned_places.h"
#include "calendar/zone_table.h"

namespace quorin::web_tables {

namespace {

// Debian's libopencc-data and tzdata keep their files here.
constexpr const char* kOpenccDictionaryFolder = "/usr/share/opencc/";
constexpr const char* kCountryListPath = "/usr/share/zoneinfo/iso3166.tab";

std::string Write(const std::string& folder, const std::string& file, const std::string& text) {
  std::string error;
  if (!base::EnsureDirectory(folder) || !base::AtomicWriteFile(folder + file, text, &error))
    return "cannot write " + folder + file + (error.empty() ? "" : ": " + error);
  return {};
}

// Every entry of one of OpenCC's stock dictionaries, with all its values in OpenCC's order.
std::map<std::string, std::vector<std::string>> StockEntries(const std::string& name) {
  const opencc::DictPtr dictionary =
      opencc::SerializableDict::NewFromFile<opencc::MarisaDict>(kOpenccDictionaryFolder + name + ".ocd2");
  std::map<std::string, std::vector<std::string>> entries;
  for (const auto& entry : *dictionary->GetLexicon()) {
    if (!entries.emplace(entry->Key(), entry->Values()).second) throw std::runtime_error("a key twice: " + entry->Key());
  }
  return entries;
}

std::int64_t SecondsOf(date::sys_seconds t) { return t.time_since_epoch().count(); }

// A zone from the beginning of the database's time to its end, span after span.
std::optional<calendar::RecordedZone> ZoneSpans(const date::time_zone& zone) {
  using namespace std::chrono;
  const date::sys_seconds beginning{date::sys_days{date::year::min() / date::January / 1}};
  const date::sys_seconds end{date::sys_days{date::year::max() / date::December / 31}};
  calendar::RecordedZone recorded{zone.name(), {}, 0};
  date::sys_info info = zone.get_info(beginning);
  for (;;) {
    recorded.spans.push_back({SecondsOf(info.begin), static_cast<int>(info.offset.count()),
                              info.save != minutes(0), info.abbrev});
    if (info.end >= end) break;
    const date::sys_info next = zone.get_info(info.end);
    if (next.begin != info.end) return std::nullopt;  // a gap or an overlap: not spans
    info = next;
  }
  recorded.endSeconds = SecondsOf(info.end);
  return recorded;
}

}  // namespace

std::string RecordScriptTables(const std::string& folder) {
  try {
    for (const char* name : base::kRecordedStockDictionaries) {
      std::string problem;
      const std::optional<std::string> text = base::RecordedDictionaryText(StockEntries(name), problem);
      if (!text) return std::string(name) + ": " + problem;
      if (std::string failed = Write(folder, std::string(name) + ".txt", *text); !failed.empty()) return failed;
    }
  } catch (const std::exception& e) {
    return std::string("cannot read OpenCC's dictionaries in ") + kOpenccDictionaryFolder + ": " + e.what();
  }
  // The desktop programs' own tables, so both are equal by construction.
  const std::unordered_map<char32_t, char32_t> simplifying = base::LoadSimplifyingCharacters();
  const std::unordered_set<char32_t> simplifiedOnly = base::LoadSimplifiedOnlyCharacters();
  if (simplifying.empty() || simplifiedOnly.empty()) return "OpenCC's simplifying dictionaries cannot be read";
  if (std::string failed = Write(folder, base::kRecordedSimplifyingFile, base::RecordedSimplifyingText(simplifying));
      !failed.empty())
    return failed;
  return Write(folder, base::kRecordedSimplifiedOnlyFile, base::RecordedSimplifiedOnlyText(simplifiedOnly));
}

std::vector<std::string> RecordedDatabaseZones() {
  std::vector<std::string> names;
  try {
    for (const date::time_zone& zone : date::get_tzdb().zones)
      if (zone.name() != "localtime") names.push_back(zone.name());
  } catch (const std::exception&) {
    names.clear();  // no database installed
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<calendar::RecordedZone> DatabaseZoneSpans(const std::string& name) {
  try {
    return ZoneSpans(*date::locate_zone(name));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::string RecordZones(const std::string& folder) {
  std::vector<calendar::RecordedZone> zones;
  try {
    for (const std::string& name : RecordedDatabaseZones()) {
      std::optional<calendar::RecordedZone> zone = ZoneSpans(*date::locate_zone(name));
      if (!zone) return "the spans of " + name + " do not follow each other";
      zones.push_back(std::move(*zone));
    }
  } catch (const std::exception& e) {
    return std::string("cannot read the time zone database: ") + e.what();
  }
  if (zones.empty()) return "the time zone database holds no zone";
  std::string problem;
  const std::optional<std::string> text = calendar::RecordedZonesText(zones, problem);
  if (!text) return problem;
  return Write(folder, calendar::kRecordedZonesFile, *text);
}

std::vector<std::string> RecordedCountryCodes() {
  std::set<std::string> codes;
  std::ifstream list(kCountryListPath);
  for (std::string line; std::getline(list, line);)
    if (!line.empty() && line.front() != '#') codes.insert(line.substr(0, line.find('\t')));
  for (const base::WorldZone& zone : base::ReadWorldZones()) codes.insert(zone.countryCode);
  return {codes.begin(), codes.end()};
}

std::string RecordWorldNames(const std::string& folder) {
  std::set<std::string> zones;
  for (const base::WorldZone& zone : base::ReadWorldZones()) zones.insert(zone.zone);
  for (const std::string& zone : RecordedDatabaseZones()) zones.insert(zone);
  const std::vector<std::string> countries = RecordedCountryCodes();
  if (zones.empty() || countries.empty()) return "no zones or countries to name (tzdata missing?)";
  std::map<std::string, base::NamesInScripts> cityNames;
  std::map<std::string, base::NamesInScripts> countryNames;
  for (std::size_t i = 0; i < base::kAllScripts.size(); ++i) {
    for (const std::string& zone : zones) cityNames[zone][i] = base::ZoneCityName(zone, base::kAllScripts[i]);
    for (const std::string& code : countries) countryNames[code][i] = base::CountryName(code, base::kAllScripts[i]);
  }
  std::string problem;
  const std::optional<std::string> text = base::WorldNamesText(cityNames, countryNames, problem);
  if (!text) return problem;
  return Write(folder, base::kRecordedWorldNamesFile, *text);
}

namespace {

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string JsonNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);  // exactly the coordinates the window charts with
  return text;
}

}  // namespace

std::string RecordWorldPlaces(const std::string& folder) {
  std::string json = "{";
  for (std::size_t i = 0; i < base::kAllScripts.size(); ++i) {
    const base::Script script = base::kAllScripts[i];
    json += (i ? ",\n" : "\n") + JsonString(base::ScriptName(script)) + ":[";
    bool firstCountry = true;
    for (const base::WorldCountry& country : base::WorldCountries(script)) {
      json += std::string(firstCountry ? "\n" : ",\n") + "{\"code\":" + JsonString(country.code) +
              ",\"name\":" + JsonString(country.shownName) + ",\"places\":[";
      firstCountry = false;
      bool firstPlace = true;
      for (const base::ZonedPlace& place : country.places) {
        json += std::string(firstPlace ? "" : ",") + "{\"name\":" + JsonString(place.name) +
                ",\"shown\":" + JsonString(place.shownName) + ",\"english\":" + JsonString(place.englishName) +
                ",\"lon\":" + JsonNumber(place.longitude) + ",\"lat\":" + JsonNumber(place.latitude) +
                ",\"zone\":" + JsonString(place.zone) + ",\"zoneName\":" +
                JsonString(base::ZoneCityName(place.zone, script) + (script == base::Script::kSimplified ? "时间" : "時間")) + "}";
        firstPlace = false;
      }
      json += "]}";
    }
    json += "]";
  }
  json += "\n}\n";
  if (base::WorldCountries(base::Script::kSimplified).empty()) return "no world places (tzdata missing?)";
  return Write(folder, kRecordedWorldPlacesFile, json);
}

std::string RecordWebTables(const std::string& folder) {
  for (const auto record : {RecordScriptTables, RecordZones, RecordWorldNames, RecordWorldPlaces})
    if (std::string failed = record(folder); !failed.empty()) return failed;
  return {};
}

}  // namespace quorin::web_tables
