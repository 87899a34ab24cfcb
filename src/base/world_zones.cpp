// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/world_zones.h"

#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace quorin::base {

namespace {

// "+4042-07400": the latitude's sign starts the text, the longitude's the second number.
std::optional<std::pair<double, double>> Coordinates(std::string_view text) {
  const std::size_t second = text.find_first_of("+-", 1);
  if (second == std::string_view::npos) return std::nullopt;
  const auto latitude = ZoneTableDegrees(text.substr(0, second));
  const auto longitude = ZoneTableDegrees(text.substr(second));
  if (!latitude || !longitude) return std::nullopt;
  return std::pair{*latitude, *longitude};
}

}  // namespace

std::optional<double> ZoneTableDegrees(std::string_view text) {
  if (text.size() < 5 || (text[0] != '+' && text[0] != '-')) return std::nullopt;
  const std::string_view digits = text.substr(1);
  for (const char c : digits)
    if (c < '0' || c > '9') return std::nullopt;
  // Latitudes have two degree digits, longitudes three; then minutes, then perhaps seconds.
  const std::size_t degreeDigits = digits.size() == 4 || digits.size() == 6 ? 2 : 3;
  if (digits.size() != degreeDigits + 2 && digits.size() != degreeDigits + 4) return std::nullopt;
  const auto number = [&](std::size_t from, std::size_t count) { return std::stoi(std::string(digits.substr(from, count))); };
  const int whole = number(0, degreeDigits), minutes = number(degreeDigits, 2);
  const int seconds = digits.size() == degreeDigits + 4 ? number(degreeDigits + 2, 2) : 0;
  if (whole > (degreeDigits == 2 ? 90 : 180) || minutes >= 60 || seconds >= 60) return std::nullopt;
  const double degrees = whole + minutes / 60.0 + seconds / 3600.0;
  return text[0] == '-' ? -degrees : degrees;
}

namespace {

// The lines of a zone table as (countries, zone, coordinates).
std::vector<WorldZone> ReadZoneTable(const std::string& path) {
  std::vector<WorldZone> zones;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string codes, coordinates, zone;
    if (!std::getline(fields, codes, '\t') || !std::getline(fields, coordinates, '\t') ||
        !std::getline(fields, zone, '\t'))
      continue;
    const auto place = Coordinates(coordinates);
    if (!place) continue;
    std::istringstream countries(codes);
    for (std::string code; std::getline(countries, code, ',');)
      zones.push_back({code, zone, place->first, place->second});
  }
  return zones;
}

}  // namespace

std::vector<WorldZone> ReadWorldZones(const std::string& path, const std::string& countryTablePath) {
  std::vector<WorldZone> zones = ReadZoneTable(path);
  std::set<std::pair<std::string, std::string>> listed;  // (country, zone)
  std::map<std::string, std::string> firstCountry;       // zone -> the country it belongs to
  for (const WorldZone& z : zones) {
    listed.emplace(z.countryCode, z.zone);
    firstCountry.try_emplace(z.zone, z.countryCode);
  }
  std::map<std::string, std::vector<WorldZone>> ownZones;  // country -> its zones not listed yet
  for (const WorldZone& z : ReadZoneTable(countryTablePath))
    if (!listed.contains({z.countryCode, z.zone})) ownZones[z.countryCode].push_back(z);
  for (WorldZone& z : zones) {
    if (firstCountry[z.zone] == z.countryCode) continue;
    std::vector<WorldZone>& own = ownZones[z.countryCode];
    if (own.empty()) continue;
    z = own.front();
    own.erase(own.begin());
  }
  return zones;
}

}  // namespace quorin::base
