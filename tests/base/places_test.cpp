// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/places.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/ini_file.h"
#include "support/temp_dir.h"

namespace quorin::base {
namespace {

using quorin::testing::ReadBytes;

TEST(Places, PlaceValues) {
  struct Case {
    const char* name;
    const char* value;
    bool valid;
    double longitude;
    double latitude;
  };
  const Case cases[] = {
      {"plain", "119:18*26:5", true, 119.3, 26 + 5 / 60.0},
      {"negative degrees add the minutes", "-120:30*-10:30", true, -119.5, -9.5},
      {"default", "120:0*30:0", true, 120.0, 30.0},
      {"no star", "119:18", false, 0, 0},
      {"no colon", "119*26:5", false, 0, 0},
      {"letters", "1x9:18*26:5", false, 0, 0},
      {"empty minutes", "119:*26:5", false, 0, 0},
  };
  for (const Case& c : cases) {
    const auto parsed = ParsePlaceValue(c.value);
    ASSERT_EQ(parsed.has_value(), c.valid) << c.name;
    if (c.valid) {
      EXPECT_NEAR(parsed->longitude, c.longitude, 1e-4) << c.name;
      EXPECT_NEAR(parsed->latitude, c.latitude, 1e-4) << c.name;
    }
  }
}

// What the editor writes, it reads back: as coordinates and as the four texts it shows.
TEST(Places, FormattedValuesReadBack) {
  const int cases[][4] = {{119, 18, 26, 5}, {-179, 59, -89, 0}, {0, 0, 0, 0}};
  for (const auto& c : cases) {
    const std::string value = FormatPlaceValue(c[0], c[1], c[2], c[3]);
    const auto parsed = ParsePlaceValue(value);
    ASSERT_TRUE(parsed.has_value()) << value;
    EXPECT_NEAR(parsed->longitude, c[0] + c[1] / 60.0, 1e-4) << value;
    EXPECT_NEAR(parsed->latitude, c[2] + c[3] / 60.0, 1e-4) << value;
    const PlaceValueParts parts = SplitPlaceValue(value);
    EXPECT_EQ(parts.longitudeDegrees, std::to_string(c[0]));
    EXPECT_EQ(parts.longitudeMinutes, std::to_string(c[1]));
    EXPECT_EQ(parts.latitudeDegrees, std::to_string(c[2]));
    EXPECT_EQ(parts.latitudeMinutes, std::to_string(c[3]));
  }
  EXPECT_EQ(FormatPlaceValue(119, 18, 26, 5), "119:18*26:5");
}

TEST(Places, TheCitySearchFindsANameTypedInEitherScript) {
  EXPECT_TRUE(CityMatchesTypedName("台北市", "臺北"));
  EXPECT_TRUE(CityMatchesTypedName("台北市", "台北"));
  EXPECT_TRUE(CityMatchesTypedName("广州市", "廣州"));
  EXPECT_FALSE(CityMatchesTypedName("台北市", "臺中"));
  // No more than one suffix character longer than what was typed.
  EXPECT_FALSE(CityMatchesTypedName("乌鲁木齐市", "乌"));
}

TEST(Places, ProvinceTable) {
  const auto& names = ProvinceNames();
  ASSERT_EQ(names.size(), 35u);
  EXPECT_EQ(names[0], "福建省");
  EXPECT_EQ(names[19], "广西");
  EXPECT_EQ(names[33], "澳门");
  EXPECT_EQ(names[34], "未知地");
}

TEST(Places, ShippedFileHasEveryProvinceWithValidValues) {
  const std::string path = QUORIN_SOURCE_DIR "/data/dat/dili.ini";
  const IniFile dili(path);
  EXPECT_EQ(dili.ReadSections().size(), 34u);
  for (int p = 0; p < kUnknownProvince; ++p) {
    const std::string_view province = ProvinceNames()[static_cast<std::size_t>(p)];
    const auto cities = ReadCities(dili, province);
    EXPECT_FALSE(cities.empty()) << province;
    for (const auto& city : cities) EXPECT_FALSE(city.malformed) << city.name;
  }
  // The source copy and the shipped copy are the same file.
  EXPECT_EQ(ReadBytes(path), ReadBytes(QUORIN_SOURCE_DIR "/data/places/dili.ini"));
}

}  // namespace
}  // namespace quorin::base
