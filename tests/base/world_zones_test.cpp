// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/world_zones.h"
#include "base/zoned_places.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace quorin::base {
namespace {

TEST(WorldZones, CoordinatesOfTheZoneTable) {
  const struct {
    const char* text;
    std::optional<double> degrees;
  } rows[] = {
      {"+4042", 40.7},          {"-07400", -74.0},       {"+513030", 51.508333},  {"-0000731", -0.125278},
      {"-3352", -33.866667},    {"+15113", 151.216667},  {"4042", std::nullopt}, {"+40a2", std::nullopt},
      {"+404", std::nullopt},   {"+4042305", std::nullopt},
  };
  for (const auto& r : rows) {
    const std::optional<double> read = ZoneTableDegrees(r.text);
    ASSERT_EQ(read.has_value(), r.degrees.has_value()) << r.text;
    if (read) {
      EXPECT_NEAR(*read, *r.degrees, 1e-6) << r.text;
    }
  }
}

TEST(WorldZones, AZoneOfSeveralCountriesStandsUnderEach) {
  const quorin::testing::TempDir folder;
  const std::string path = folder.Path() + "zone1970.tab";
  std::ofstream(path) << "# comment\nSG,MY\t+0117+10351\tAsia/Singapore\n"
                         "US\t+404251-0740023\tAmerica/New_York\tEastern (most areas)\nbroken line\n";
  const std::vector<WorldZone> zones = ReadWorldZones(path, folder.Path() + "no-country-table.tab");
  ASSERT_EQ(zones.size(), 3u);
  EXPECT_EQ(zones[0].countryCode, "SG");
  EXPECT_EQ(zones[1].countryCode, "MY");
  EXPECT_EQ(zones[1].zone, "Asia/Singapore");
  EXPECT_NEAR(zones[2].longitude, -(74 + 23 / 3600.0), 1e-9);
  EXPECT_TRUE(ReadWorldZones(folder.Path() + "missing.tab").empty());

  // The country table names Malaysia's own zone: it stands for Malaysia, at Kuala Lumpur, while
  // the zones a country already has keep their place.
  std::ofstream(folder.Path() + "zone.tab") << "MY\t+0310+10142\tAsia/Kuala_Lumpur\tpeninsula\n"
                                               "SG\t+0117+10351\tAsia/Singapore\n";
  const std::vector<WorldZone> withCountries = ReadWorldZones(path, folder.Path() + "zone.tab");
  ASSERT_EQ(withCountries.size(), 3u);
  EXPECT_EQ(withCountries[0].zone, "Asia/Singapore");
  EXPECT_EQ(withCountries[1].countryCode, "MY");
  EXPECT_EQ(withCountries[1].zone, "Asia/Kuala_Lumpur");
  EXPECT_NEAR(withCountries[1].latitude, 3 + 10 / 60.0, 1e-9);
}

// The names a reader of each script knows: Taiwan says 雪梨, Hong Kong and the mainland 悉尼.
TEST(WorldZones, ChineseNamesFollowTheScript) {
  EXPECT_EQ(ZoneCityName("America/New_York", Script::kSimplified), "纽约");
  EXPECT_EQ(ZoneCityName("America/New_York", Script::kTraditionalTaiwan), "紐約");
  EXPECT_EQ(ZoneCityName("Australia/Sydney", Script::kTraditionalTaiwan), "雪梨");
  EXPECT_EQ(ZoneCityName("Australia/Sydney", Script::kTraditionalHongKong), "悉尼");
  EXPECT_EQ(ZoneCityName("America/Argentina/Buenos_Aires", Script::kSimplified), "布宜诺斯艾利斯");
  EXPECT_EQ(ZoneCityName("Mars/Base_Alpha", Script::kSimplified), "Base Alpha");
  EXPECT_EQ(CountryName("MY", Script::kSimplified), "马来西亚");
  EXPECT_EQ(CountryName("MY", Script::kTraditionalHongKong), "馬來西亞");
}

// The names a user types find the place meant: Chinese in either script, with or without the
// country, English, the zone's own name; a zone's own country before others it serves.
TEST(ZonedPlaces, FoundByTheNamesUsersType) {
  const std::vector<ZonedPlace> own = {{"祖屋", "祖屋", "", -123.1, 49.25, "America/Vancouver"}};
  const struct {
    const char* typed;
    const char* zone;
    const char* name;
  } rows[] = {
      {"纽约", "America/New_York", "美国纽约"},     {"紐約", "America/New_York", "美国纽约"},
      {"美国纽约", "America/New_York", "美国纽约"}, {"new york", "America/New_York", "美国纽约"},
      {"America/New_York", "America/New_York", "美国纽约"}, {"吉隆坡", "Asia/Kuala_Lumpur", "马来西亚吉隆坡"},
      {"Kuala_Lumpur", "Asia/Kuala_Lumpur", "马来西亚吉隆坡"}, {"苏黎世", "Europe/Zurich", "瑞士苏黎世"},
      {"新加坡", "Asia/Singapore", "新加坡"},       {"祖屋", "America/Vancouver", "祖屋"},
  };
  for (const auto& r : rows) {
    const std::optional<ZonedPlace> found = FindPlaceByName(r.typed, own);
    ASSERT_TRUE(found) << r.typed;
    EXPECT_EQ(found->zone, r.zone) << r.typed;
    EXPECT_EQ(found->name, r.name) << r.typed;
  }
  EXPECT_FALSE(FindPlaceByName("福州", own));
  EXPECT_FALSE(FindPlaceByName("", own));
}

TEST(ZonedPlaces, OwnPlacesFileKeepsWhatIsSoundAndSkipsTheRest) {
  const quorin::testing::TempDir folder;
  const std::string path = folder.Path() + "places.txt";
  const std::vector<ZonedPlace> places = {{"祖屋", "祖屋", "", -123.1, 49.25, "America/Vancouver"},
                                          {"乡下", "乡下", "", 113.5, 22.75, ""}};
  std::ofstream(path) << OwnPlacesText(places) << "坏\tabc\t1\t\n远\t200\t1\t\n火星\t1\t1\tMars/Base\n";
  EXPECT_EQ(ReadOwnPlaces(path), places);
  ZonedPlace bad = places[0];
  bad.name = "a\tb";
  EXPECT_FALSE(OwnPlaceProblem(bad).empty());
  bad = places[0];
  bad.latitude = 91;
  EXPECT_FALSE(OwnPlaceProblem(bad).empty());
  EXPECT_TRUE(ReadOwnPlaces(folder.Path() + "none.txt").empty());
}

}  // namespace
}  // namespace quorin::base
