// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/places.h"

#include <cstdio>

#include "base/gbk.h"
#include "base/ini_file.h"
#include "base/script_text.h"
#include "base/text_parse.h"

namespace quorin::base {

namespace {

std::optional<float> DegreesOf(std::string_view half) {
  const std::size_t colon = half.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const auto degrees = ParseInt(Trim(half.substr(0, colon)));
  const auto minutes = ParseInt(Trim(half.substr(colon + 1)));
  if (!degrees || !minutes) return std::nullopt;
  return static_cast<float>(*degrees + *minutes / 60.0);
}

}  // namespace

const std::array<std::string_view, kProvinceCount>& ProvinceNames() {
  static const std::array<std::string_view, kProvinceCount> names = {
      "福建省", "北京市", "天津市", "河北省", "山西省", "内蒙古", "辽宁省", "吉林省", "黑龙江省",
      "上海市", "江苏省", "浙江省", "安徽省", "江西省", "山东省", "河南省", "湖北省", "湖南省",
      "广东省", "广西",   "海南省", "四川省", "重庆市", "贵州省", "云南省", "西藏",   "陕西省",
      "甘肃省", "青海省", "宁夏",   "新疆",   "台湾省", "香港",   "澳门",   kUnknownPlace,
  };
  return names;
}

std::optional<Coordinates> ParsePlaceValue(std::string_view value) {
  const std::size_t star = value.find('*');
  if (star == std::string_view::npos) return std::nullopt;
  const auto longitude = DegreesOf(value.substr(0, star));
  const auto latitude = DegreesOf(value.substr(star + 1));
  if (!longitude || !latitude) return std::nullopt;
  return Coordinates{*longitude, *latitude};
}

std::string FormatPlaceValue(int longitudeDegrees, int longitudeMinutes, int latitudeDegrees, int latitudeMinutes) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%d:%d*%d:%d", longitudeDegrees, longitudeMinutes, latitudeDegrees,
                latitudeMinutes);
  return buffer;
}

PlaceValueParts SplitPlaceValue(std::string_view value) {
  const auto split = [](std::string_view half, std::string& before, std::string& after) {
    const std::size_t colon = half.find(':');
    before = std::string(half.substr(0, colon));
    after = colon == std::string_view::npos ? std::string() : std::string(half.substr(colon + 1));
  };
  PlaceValueParts parts;
  const std::size_t star = value.find('*');
  split(value.substr(0, star), parts.longitudeDegrees, parts.longitudeMinutes);
  split(star == std::string_view::npos ? std::string_view() : value.substr(star + 1), parts.latitudeDegrees,
        parts.latitudeMinutes);
  return parts;
}

std::vector<City> ReadCities(const IniFile& dili, std::string_view province) {
  std::vector<City> cities;
  for (const auto& [key, value] : dili.ReadSectionValues(province)) {
    City city;
    city.name = key;
    const std::string_view text = Trim(value).empty() ? kDefaultPlaceValue : std::string_view(value);
    if (const auto parsed = ParsePlaceValue(text)) {
      city.coordinates = *parsed;
    } else {
      city.malformed = true;
    }
    cities.push_back(std::move(city));
  }
  return cities;
}

bool CityMatchesTypedName(std::string_view city, std::string_view typed) {
  // A typed name may match a city name two GBK bytes longer (县, 市, 区).
  constexpr int kCitySuffixBytes = 2;
  return SimplifiedForComparison(city).find(SimplifiedForComparison(typed)) != std::string::npos &&
         GbkByteLength(city) <= GbkByteLength(typed) + kCitySuffixBytes;
}

}  // namespace quorin::base
