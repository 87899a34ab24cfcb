// SPDX-License-Identifier: GPL-3.0-or-later
// The province table and the place coordinates of dat/dili.ini. A case keeps its province as
// an index into this table, and a chart takes its longitude from the file.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::base {

class IniFile;

inline constexpr int kProvinceCount = 35;
// 福建省 … 澳门, then "未知地", the place not given (it has no section in dili.ini).
const std::array<std::string_view, kProvinceCount>& ProvinceNames();
inline constexpr int kUnknownProvince = kProvinceCount - 1;
inline constexpr std::string_view kUnknownPlace = "未知地";

inline constexpr float kDefaultLongitude = 120.0f;
inline constexpr float kDefaultLatitude = 30.0f;
inline constexpr std::string_view kDefaultPlaceValue = "120:0*30:0";

struct Coordinates {
  float longitude = kDefaultLongitude;
  float latitude = kDefaultLatitude;
};

// "119:18*26:5" as degrees: each half is degrees plus minutes / 60 (the minutes are
// added whatever the sign of the degrees). Nothing when the value lacks that form.
[[nodiscard]] std::optional<Coordinates> ParsePlaceValue(std::string_view value);

// "%d:%d*%d:%d".
std::string FormatPlaceValue(int longitudeDegrees, int longitudeMinutes, int latitudeDegrees, int latitudeMinutes);

// The four texts of a value as the editor shows them, split at the first "*" and
// each half at its first ":", unvalidated.
struct PlaceValueParts {
  std::string longitudeDegrees, longitudeMinutes, latitudeDegrees, latitudeMinutes;
};
PlaceValueParts SplitPlaceValue(std::string_view value);

struct City {
  std::string name;
  Coordinates coordinates;
  bool malformed = false;  // the stored value had no valid form; the default place stands in
};

// The cities of a province in file order; a key without a value reads as the default.
std::vector<City> ReadCities(const IniFile& dili, std::string_view province);

// Whether a city name answers what the user typed into the city search: the typed name is
// part of it, and it is at most a suffix (县, 市, 区) longer. Either script finds the other:
// 臺北 finds 台北.
bool CityMatchesTypedName(std::string_view city, std::string_view typed);

}  // namespace quorin::base
