// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/zoned_places.h"

#include <unicode/coll.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>

#include "base/gbk.h"
#include "base/text_parse.h"
#include "base/utf8.h"
#include "base/world_zones.h"

namespace quorin::base {

namespace {

// China's places are the provinces' and its cities'; the zone of its clock times is offered
// beside them.
constexpr std::string_view kChinaCode = "CN";
constexpr int kOwnNameBytes = 60;

std::string Lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string EnglishCityOfZone(std::string_view zone) {
  std::string english(zone.substr(zone.rfind('/') + 1));
  std::replace(english.begin(), english.end(), '_', ' ');
  return english;
}

std::vector<WorldCountry> BuildWorldCountries(Script script) {
  std::map<std::string, WorldCountry> byCode;
  std::map<std::string, std::string> storedCountryNames;  // simplified, as cases keep them
  std::vector<std::string> order;
  for (const WorldZone& z : ReadWorldZones()) {
    if (z.countryCode == kChinaCode) continue;
    auto [it, added] = byCode.try_emplace(z.countryCode);
    WorldCountry& country = it->second;
    if (added) {
      country.code = z.countryCode;
      country.shownName = CountryName(z.countryCode, script);
      order.push_back(z.countryCode);
      storedCountryNames[z.countryCode] =
          script == Script::kSimplified ? country.shownName : CountryName(z.countryCode, Script::kSimplified);
    }
    ZonedPlace place;
    // 美国纽约; a city the country is named after stands for itself (新加坡, 中国香港特别行政区).
    const std::string& countryName = storedCountryNames[z.countryCode];
    const std::string city = ZoneCityName(z.zone, Script::kSimplified);
    place.shownName = script == Script::kSimplified ? city : ZoneCityName(z.zone, script);
    place.name = countryName.find(city) == std::string::npos ? countryName + city : countryName;
    place.englishName = EnglishCityOfZone(z.zone);
    place.longitude = z.longitude;
    place.latitude = z.latitude;
    place.zone = z.zone;
    country.places.push_back(std::move(place));
  }
  std::vector<WorldCountry> countries;
  countries.reserve(order.size());
  for (const std::string& code : order) countries.push_back(std::move(byCode[code]));
  // In the order a Chinese reader looks for them (by pinyin, or by strokes in Taiwan's and Hong
  // Kong's order, as ICU collates each script).
  UErrorCode error = U_ZERO_ERROR;
  const char* locale = script == Script::kSimplified ? "zh" : "zh_Hant";
  std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(icu::Locale(locale), error));
  if (collator && U_SUCCESS(error)) {
    std::stable_sort(countries.begin(), countries.end(), [&](const WorldCountry& a, const WorldCountry& b) {
      UErrorCode e = U_ZERO_ERROR;
      return collator->compareUTF8(a.shownName, b.shownName, e) == UCOL_LESS;
    });
  }
  return countries;
}

std::optional<double> Degrees(const std::string& text, double limit) {
  const std::optional<double> value = ParseNumber(text);
  if (!value || !std::isfinite(*value) || std::abs(*value) > limit) return std::nullopt;
  return value;
}

// The country a zone belongs to: the first the table lists for it.
const std::string& FirstCountryOfZone(const std::string& zone) {
  static const std::map<std::string, std::string> first = [] {
    std::map<std::string, std::string> m;
    for (const WorldZone& z : ReadWorldZones()) m.try_emplace(z.zone, z.countryCode);
    return m;
  }();
  static const std::string none;
  const auto it = first.find(zone);
  return it == first.end() ? none : it->second;
}

bool IsKnownZoneName(const std::string& zone) {
  UErrorCode error = U_ZERO_ERROR;
  icu::UnicodeString canonical;
  UBool system = false;
  icu::TimeZone::getCanonicalID(icu::UnicodeString::fromUTF8(zone), canonical, system, error);
  return (U_SUCCESS(error) && system) || !FirstCountryOfZone(zone).empty();
}

std::string FormatDegrees(double degrees) {
  std::array<char, 32> text{};
  const auto [end, ec] = std::to_chars(text.data(), text.data() + text.size(), degrees);
  return ec == std::errc() ? std::string(text.data(), end) : "0";
}

}  // namespace

const std::vector<WorldCountry>& WorldCountries(Script script) {
  static std::mutex mutex;
  static std::map<Script, std::vector<WorldCountry>> built;
  const std::lock_guard lock(mutex);
  auto it = built.find(script);
  if (it == built.end()) it = built.emplace(script, BuildWorldCountries(script)).first;
  return it->second;
}

std::vector<ZonedPlace> ReadOwnPlaces(const std::string& path) {
  std::vector<ZonedPlace> places;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, longitude, latitude, zone;
    if (!std::getline(fields, name, '\t') || !std::getline(fields, longitude, '\t') ||
        !std::getline(fields, latitude, '\t'))
      continue;
    std::getline(fields, zone, '\t');
    const auto lon = Degrees(longitude, 180), lat = Degrees(latitude, 90);
    if (!lon || !lat) continue;
    ZonedPlace place{name, name, {}, *lon, *lat, zone};
    if (OwnPlaceProblem(place).empty()) places.push_back(std::move(place));
  }
  return places;
}

std::string OwnPlacesText(const std::vector<ZonedPlace>& places) {
  std::string text = "# 自定地点：名称\t经度（东为正）\t纬度（北为正）\t时区（空为北京时间）\n";
  for (const ZonedPlace& p : places)
    text += p.name + "\t" + FormatDegrees(p.longitude) + "\t" + FormatDegrees(p.latitude) + "\t" + p.zone + "\n";
  return text;
}

std::string OwnPlaceProblem(const ZonedPlace& place) {
  if (TrimTyped(place.name).empty()) return "地名不能为空。";
  if (place.name.find_first_of("\t\r\n") != std::string::npos || place.name[0] == '#') return "地名不能含制表符、换行或以#开头。";
  if (!IsValidUtf8(place.name) || GbkByteLength(place.name) > kOwnNameBytes) return "地名太长（最多30个汉字）。";
  if (!std::isfinite(place.longitude) || std::abs(place.longitude) > 180) return "经度应在-180到180之间（东经为正）。";
  if (!std::isfinite(place.latitude) || std::abs(place.latitude) > 90) return "纬度应在-90到90之间（北纬为正）。";
  if (!place.zone.empty() && !IsKnownZoneName(place.zone)) return "没有这个时区：" + place.zone;
  return {};
}

std::optional<ZonedPlace> FindPlaceByName(std::string_view typed, const std::vector<ZonedPlace>& ownPlaces) {
  const std::string wanted(TrimTyped(typed));
  if (wanted.empty()) return std::nullopt;
  for (const ZonedPlace& p : ownPlaces)
    if (p.name == wanted) return p;
  const std::string folded = SimplifiedForComparison(wanted);
  std::string english = Lowered(wanted);
  std::replace(english.begin(), english.end(), '_', ' ');
  const std::vector<WorldCountry>& simplified = WorldCountries(Script::kSimplified);
  const std::vector<WorldCountry>& shown = WorldCountries(ShownScript());
  // A zone serving several countries is listed under each; the place under the zone's own
  // country (the first the table lists for it) is the one meant.
  // The scripts sort the countries differently; a country's places are in the same order in both.
  std::map<std::string, const WorldCountry*> simplifiedByCode;
  for (const WorldCountry& country : simplified) simplifiedByCode[country.code] = &country;
  std::optional<ZonedPlace> found;
  for (const WorldCountry& country : shown) {
    const auto it = simplifiedByCode.find(country.code);
    if (it == simplifiedByCode.end()) continue;
    const std::vector<ZonedPlace>& simplifiedPlaces = it->second->places;
    for (std::size_t i = 0; i < country.places.size() && i < simplifiedPlaces.size(); ++i) {
      const ZonedPlace& s = simplifiedPlaces[i];
      const ZonedPlace& inScript = country.places[i];
      const bool matches = s.shownName == folded || s.name == folded || inScript.shownName == wanted ||
                           country.shownName + inScript.shownName == wanted || Lowered(s.englishName) == english ||
                           s.zone == wanted;
      if (!matches) continue;
      if (!found) found = inScript;
      if (FirstCountryOfZone(s.zone) == country.code) return inScript;
    }
  }
  return found;
}

}  // namespace quorin::base
